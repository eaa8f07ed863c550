#pragma once
// The framework's safe owner for a modal window: the given parent or, with
// none, the thread's active window, climbed up to the first window that is
// not a child (a control cannot own a dialog). Empty when there is none.
#include "ui/framework/wnd.h"

inline CWnd GetSafeOwner(const CWnd* pParent) {
    HWND owner = pParent != nullptr ? pParent->m_hWnd : nullptr;
    if (owner == nullptr) {
        owner = ::GetActiveWindow();
    }
    while (owner != nullptr && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD) != 0) {
        owner = ::GetParent(owner);
    }
    return CWnd(owner);
}
