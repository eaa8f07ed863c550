#include "ui/page_harness.h"

#include "app/win/setup_objects.h"
#include "platform/win32/today.h"

namespace vk::test {

vk::WizardModel& TestModel() {
    // A test program carries no logon program: a stand-in's bytes are placed.
    static vk::WizardModel model{theCatalog, vk::win32::Today(), "MZ logon program stand-in"};
    return model;
}

std::string TextOf(HWND page, int id) {
    const HWND control = ::GetDlgItem(page, id);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(control, text.data(), length + 1)));
    return text;
}

void SetText(HWND page, int id, const std::string& text) {
    ::SetWindowTextA(::GetDlgItem(page, id), text.c_str());
}

}  // namespace vk::test
