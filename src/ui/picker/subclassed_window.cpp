#include "ui/picker/subclassed_window.h"

#include <utility>

namespace {

// The window property that leads from the window to its subclassing object;
// the browser keeps its own data in the window's other slots.
constexpr const char* kOwnerProperty = "Varnok.SubclassedWnd";

}  // namespace

CSubclassedWnd::~CSubclassedWnd() {
    UnsubclassWindow();
}

BOOL CSubclassedWnd::SubclassWindow(HWND hwnd) {
    if (m_hWnd != nullptr || hwnd == nullptr) {
        return FALSE;
    }
    if (!::SetPropA(hwnd, kOwnerProperty, this)) {
        return FALSE;
    }
    // Zero is also a failure only when the last error says so.
    ::SetLastError(ERROR_SUCCESS);
    const LONG_PTR previous =
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    if (previous == 0 && ::GetLastError() != ERROR_SUCCESS) {
        ::RemovePropA(hwnd, kOwnerProperty);
        return FALSE;
    }
    m_pfnSuper = reinterpret_cast<WNDPROC>(previous);
    m_hWnd = hwnd;
    return TRUE;
}

HWND CSubclassedWnd::UnsubclassWindow() {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropA(m_hWnd, kOwnerProperty);
    m_pfnSuper = nullptr;
    return std::exchange(m_hWnd, nullptr);
}

LRESULT CALLBACK CSubclassedWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CSubclassedWnd*>(::GetPropA(hwnd, kOwnerProperty));
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    const WNDPROC super = self->m_pfnSuper;
    if (message == WM_COMMAND) {
        // No exception can unwind through the window manager: the program has none.
        if (self->OnCommand(LOWORD(wParam), HIWORD(wParam))) {
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        // The last message of the window: hand it back before it goes.
        self->UnsubclassWindow();
    }
    return ::CallWindowProcA(super, hwnd, message, wParam, lParam);
}
