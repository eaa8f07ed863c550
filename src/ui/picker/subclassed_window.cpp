#include "ui/picker/subclassed_window.h"

#include <utility>

namespace {

// The window property that leads from the window to its subclassing object;
// the browser keeps its own data in the window's other slots.
constexpr const wchar_t* kOwnerProperty = L"Varnok.SubclassedWnd";

}  // namespace

CSubclassedWnd::~CSubclassedWnd() {
    UnsubclassWindow();
}

BOOL CSubclassedWnd::SubclassWindow(HWND hwnd) {
    if (m_hWnd != nullptr || hwnd == nullptr) {
        return FALSE;
    }
    if (!::SetPropW(hwnd, kOwnerProperty, this)) {
        return FALSE;
    }
    // Zero is also a failure only when the last error says so.
    ::SetLastError(ERROR_SUCCESS);
    const LONG_PTR previous =
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    if (previous == 0 && ::GetLastError() != ERROR_SUCCESS) {
        ::RemovePropW(hwnd, kOwnerProperty);
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
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropW(m_hWnd, kOwnerProperty);
    m_pfnSuper = nullptr;
    return std::exchange(m_hWnd, nullptr);
}

LRESULT CALLBACK CSubclassedWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CSubclassedWnd*>(::GetPropW(hwnd, kOwnerProperty));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
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
    return ::CallWindowProcW(super, hwnd, message, wParam, lParam);
}
