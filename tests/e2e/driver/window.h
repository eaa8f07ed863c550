#pragma once
// A window of the program under test and its controls, used the way a person would:
// only visible, enabled things can be clicked, typed into or sent keys.
#include <windows.h>

#include <string>
#include <string_view>

namespace vk::e2e {

// The static that holds a message box's text.
inline constexpr int kMessageBoxTextId = 0xFFFF;

class Control {
public:
    Control(HWND hwnd, DWORD processId) : hwnd_(hwnd), processId_(processId) {}

    HWND hwnd() const { return hwnd_; }
    int id() const;
    std::string className() const;

    std::string text() const;  // any length
    bool enabled() const;
    bool visible() const;
    int checkState() const;  // BM_GETCHECK: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    bool checked() const { return checkState() == BST_CHECKED; }
    int progressPosition() const;  // PBM_GETPOS

    // Replaces an edit box's text as typing would: the parent hears EN_CHANGE.
    void setText(std::string_view text) const;

    // A mouse click: BM_CLICK, posted, so a click that opens a modal box does not block us.
    void click() const;

private:
    [[noreturn]] void fail(std::string_view what) const;
    void requireUsable(std::string_view action) const;

    HWND hwnd_;
    DWORD processId_;
};

class Window {
public:
    Window(HWND hwnd, DWORD processId) : hwnd_(hwnd), processId_(processId) {}

    HWND hwnd() const { return hwnd_; }
    DWORD processId() const { return processId_; }
    std::string caption() const;
    std::string className() const;
    bool exists() const;  // not yet destroyed
    bool visible() const;
    bool enabled() const;  // a window behind a modal box is disabled

    bool hasControl(int id) const;
    Control control(int id) const;  // a direct child; fails with a screen dump when missing

    // A key stroke through the program's message loop: WM_KEYDOWN and WM_KEYUP posted to the
    // focused control, so the dialog manager (IsDialogMessage) acts on it exactly as on a
    // real key, e.g. Enter reaches the default button only while it is enabled.
    void pressKey(UINT virtualKey) const;
    void pressEnter() const { pressKey(VK_RETURN); }
    void pressEscape() const { pressKey(VK_ESCAPE); }

    // The close box in the caption: WM_SYSCOMMAND SC_CLOSE, posted.
    void clickCloseBox() const;

    // For message boxes: the text, and the answer by button id (IDOK, IDYES, IDNO, ...).
    std::string messageText() const { return control(kMessageBoxTextId).text(); }
    void answer(int buttonId) const { control(buttonId).click(); }

private:
    [[noreturn]] void fail(std::string_view what) const;

    HWND hwnd_;
    DWORD processId_;
};

}  // namespace vk::e2e
