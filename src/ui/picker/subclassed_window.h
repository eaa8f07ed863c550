#pragma once
// A window of someone else's (the shell's folder browser) whose messages pass
// through this object first: the framework's window subclassing. The original
// window procedure is put back when the window is destroyed, or when this
// object goes first.
#include "ui/framework/wnd.h"

class CSubclassedWnd : public CWnd {
public:
    CSubclassedWnd() = default;
    ~CSubclassedWnd() override;
    CSubclassedWnd(const CSubclassedWnd&) = delete;
    CSubclassedWnd& operator=(const CSubclassedWnd&) = delete;

    // Routes `hwnd`'s messages through this object; FALSE when this object
    // already holds a window or the window procedure could not be replaced.
    BOOL SubclassWindow(HWND hwnd);
    // Puts the original window procedure back; the window it held, or null.
    HWND UnsubclassWindow();

protected:
    // A WM_COMMAND of the window: true when handled (the original window
    // procedure then does not see it). Exceptions are reported, not passed on.
    virtual bool OnCommand(int id, UINT code) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
};
