#include "ui/silent/progress_window.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/framework/win_app.h"

namespace {

constexpr int kProgressEnd = 50;

// Nothing to handle: the window has no buttons, and Esc or Alt+F4 must not
// end an installation half-way.
INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

CSilentProgressWindow::CSilentProgressWindow() {
    m_hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDD_SILENT_PROGRESS),
                                  nullptr, &ProgressDialogProc, 0);
    if (m_hWnd == nullptr)
        return;  // the installation goes on without a window
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, kProgressEnd));
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETSTEP, 1, 0);
    ::ShowWindow(m_hWnd, SW_SHOW);
    PumpMessages();
}

CSilentProgressWindow::~CSilentProgressWindow() {
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

void CSilentProgressWindow::Step() {
    if (m_hWnd == nullptr)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_STEPIT, 0, 0);
    PumpMessages();
}

void CSilentProgressWindow::Finish() {
    if (m_hWnd == nullptr)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETPOS, kProgressEnd, 0);
    PumpMessages();
}

void CSilentProgressWindow::PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!::IsDialogMessageW(m_hWnd, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}
