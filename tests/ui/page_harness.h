#pragma once
// Runs a wizard page modally and, once it is open and idle (shown, focus
// set, its modal loop running), calls a probe that works its controls the way
// a person would. A page the probe left open is then ended with
// kProbeFinished, so the result of DoModal tells whether the page closed itself.
#include <functional>
#include <string>
#include <type_traits>

#include "model/wizard_model.h"

#include "platform/win32/windows_api.h"

namespace vk::test {

// DoModal's result when the page was still open after the probe.
inline constexpr INT_PTR kProbeFinished = 0x7E57;

// Clicks a button as the mouse would (BM_CLICK: pressed and released).
inline void Click(HWND page, int id) {
    ::SendMessageA(::GetDlgItem(page, id), BM_CLICK, 0, 0);
}

// Presses Enter with the focus on control `id`, as the page's modal loop sees it.
inline void PressEnterOn(HWND page, int id) {
    const HWND control = ::GetDlgItem(page, id);
    ::SetFocus(control);
    MSG message{control, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    ::IsDialogMessageA(page, &message);
}

inline bool IsEnabled(HWND page, int id) {
    return ::IsWindowEnabled(::GetDlgItem(page, id));
}
inline bool IsChecked(HWND page, int id) {
    return ::SendMessageA(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
std::string TextOf(HWND page, int id);
// The model the pages of a test are made with: the test program's theCatalog.
vk::WizardModel& TestModel();
void SetText(HWND page, int id, const std::string& text);

// Page: a page class (Dlg_Page1 ...). Returns after the page has closed.
template <typename Page>
class Probed : public Page {
public:
    explicit Probed(std::function<void(HWND)> probe) requires std::is_default_constructible_v<Page>
        : m_probe(std::move(probe)) {}
    explicit Probed(
        std::function<void(HWND)> probe) requires std::is_constructible_v<Page, vk::WizardModel&>
        : Page(TestModel()), m_probe(std::move(probe)) {}

    INT_PTR Run() {
        s_current = this;
        return this->DoModal();
    }

protected:
    BOOL OnInitDialog() override {
        const BOOL result = Page::OnInitDialog();
        // A zero timer fires once the modal loop is idle, after the page is shown.
        ::SetTimer(this->m_hWnd, 1, 0, &Probed::OnTimer);
        return result;
    }

private:
    static void CALLBACK OnTimer(HWND page, UINT, UINT_PTR timer, DWORD) {
        // The modal loop shows the page when it first runs out of messages;
        // until then, wait for the next tick.
        if (!::IsWindowVisible(page)) {
            return;
        }
        ::KillTimer(page, timer);
        s_current->m_probe(page);
        // EndDialog hides the page at once: a visible page is still open.
        if (::IsWindowVisible(page)) {
            ::EndDialog(page, kProbeFinished);
        }
    }

    static inline Probed* s_current = nullptr;
    std::function<void(HWND)> m_probe;
};

// Runs `Page` with `probe` and answers DoModal's result; the page object is
// destroyed when this returns, after `after` has seen it.
template <typename Page>
INT_PTR VisitPage(const std::function<void(HWND)>& probe,
                  const std::function<void(Page&)>& after = nullptr) {
    Probed<Page> page(probe);
    const INT_PTR result = page.Run();
    if (after) {
        after(page);
    }
    return result;
}

}  // namespace vk::test
