#include "e2e/driver/window.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/window_dump.h"
#include "e2e/driver/window_text.h"

namespace vk::e2e {
namespace {

std::string describeWindow(HWND hwnd) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return std::string("window ") + handle + " (class \"" + toUtf8(windowClass(hwnd)) + "\")";
}

std::string describeControl(HWND hwnd) {
    return "control " + std::to_string(windowId(hwnd)) + " (class \"" + toUtf8(windowClass(hwnd)) +
           "\", text \"" + toUtf8Line(tryWindowText(hwnd, 1000).value_or("?"), 80) + "\")";
}

[[noreturn]] void failWithScreen(DWORD processId, const std::string& what) {
    throw DriverError(what + "\n" + describeProcessWindows(processId));
}

LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD processId,
             const std::string& who) {
    const std::optional<LRESULT> result = trySend(hwnd, message, wParam, lParam);
    if (!result) {
        failWithScreen(processId,
                       withLastError(who + " did not answer message " + std::to_string(message)));
    }
    return *result;
}

}  // namespace

int Control::id() const {
    return windowId(hwnd_);
}

std::string Control::className() const {
    return windowClass(hwnd_);
}

std::string Control::text() const {
    std::optional<std::string> text = tryWindowText(hwnd_);
    if (!text)
        fail(withLastError("its text could not be read"));
    return *text;
}

bool Control::enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

bool Control::visible() const {
    return IsWindowVisible(hwnd_) != FALSE;
}

int Control::checkState() const {
    return static_cast<int>(send(hwnd_, BM_GETCHECK, 0, 0, processId_, describeControl(hwnd_)));
}

int Control::progressPosition() const {
    return static_cast<int>(send(hwnd_, PBM_GETPOS, 0, 0, processId_, describeControl(hwnd_)));
}

void Control::setText(std::string_view text) const {
    requireUsable("type into");
    if (lstrcmpiA(className().c_str(), "Edit") != 0)
        fail("only an edit box can be typed into");
    const std::wstring terminated = wideOfGbk(text);
    if (!send(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()), processId_,
              describeControl(hwnd_))) {
        fail("it refused the new text");
    }
    // A single-line edit box notifies its parent of WM_SETTEXT itself; a multi-line one does
    // not, though typing would.
    if ((GetWindowLongPtrA(hwnd_, GWL_STYLE) & ES_MULTILINE) != 0) {
        send(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id(), EN_CHANGE),
             reinterpret_cast<LPARAM>(hwnd_), processId_,
             "the parent of " + describeControl(hwnd_));
    }
}

void Control::click() const {
    requireUsable("click");
    if (!PostMessageA(hwnd_, BM_CLICK, 0, 0))
        fail(withLastError("the click could not be posted"));
}

void Control::requireUsable(std::string_view action) const {
    if (!IsWindow(hwnd_))
        fail("it no longer exists");
    if (!IsWindowVisible(hwnd_))
        fail("a person cannot " + std::string(action) + " a hidden control");
    if (!IsWindowEnabled(hwnd_)) {
        fail("a person cannot " + std::string(action) + " a disabled control");
    }
    if (!IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT))) {
        fail("its window is disabled (a modal window is in front of it)");
    }
}

void Control::fail(std::string_view what) const {
    failWithScreen(processId_, describeControl(hwnd_) + ": " + std::string(what));
}

std::string Window::caption() const {
    std::optional<std::string> text = tryWindowText(hwnd_);
    if (!text)
        fail(withLastError("its caption could not be read"));
    return *text;
}

std::string Window::className() const {
    return windowClass(hwnd_);
}

bool Window::exists() const {
    return IsWindow(hwnd_) != FALSE;
}

bool Window::visible() const {
    return IsWindowVisible(hwnd_) != FALSE;
}

bool Window::enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

bool Window::hasControl(int id) const {
    return GetDlgItem(hwnd_, id) != nullptr;
}

Control Window::control(int id) const {
    HWND child = GetDlgItem(hwnd_, id);
    if (child == nullptr)
        fail("it has no control with id " + std::to_string(id));
    return Control(child, processId_);
}

void Window::pressKey(UINT virtualKey) const {
    if (!IsWindowVisible(hwnd_))
        fail("a hidden window cannot take keys");
    if (!IsWindowEnabled(hwnd_))
        fail("it is disabled (a modal window is in front of it)");
    HWND target = hwnd_;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info) &&
        info.hwndFocus != nullptr && (info.hwndFocus == hwnd_ || IsChild(hwnd_, info.hwndFocus))) {
        target = info.hwndFocus;
    }
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM down = 1 | scan;
    const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
    if (!PostMessageA(target, WM_KEYDOWN, virtualKey, down))
        fail(withLastError("the key could not be posted"));
    // The press may end the window before its release is posted (Esc on the last page); the
    // release then goes nowhere, as a real one would.
    if (!PostMessageA(target, WM_KEYUP, virtualKey, up)) {
        const DWORD error = GetLastError();
        if (IsWindow(target))
            fail(withLastError("the key's release could not be posted", error));
    }
}

void Window::clickCloseBox() const {
    if (!IsWindowVisible(hwnd_))
        fail("a hidden window cannot be closed by a person");
    if ((GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_SYSMENU) == 0)
        fail("it has no close box");
    if (!IsWindowEnabled(hwnd_))
        fail("it is disabled (a modal window is in front of it)");
    if (!PostMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0)) {
        fail(withLastError("the close command could not be posted"));
    }
}

void Window::fail(std::string_view what) const {
    failWithScreen(processId_, describeWindow(hwnd_) + ": " + std::string(what));
}

}  // namespace vk::e2e
