#include "ui/framework/dialog.h"

#include "ui/framework/ddx.h"
#include "ui/framework/win_app.h"

namespace {

// Posted on WM_DPICHANGED, so that OnDpiChanged runs after the dialog manager's
// own scaling of the dialog (the default processing of that message).
constexpr UINT kDpiChangeDone = WM_APP + 0x2E0;

}  // namespace

CDialog::CDialog(UINT nIDTemplate, std::span<const CommandEntry> commands, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_commands(commands),
      m_hWndParent(pParentWnd ? pParentWnd->m_hWnd : nullptr) {}

INT_PTR CDialog::DoModal() {
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), m_hWndParent,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

HBRUSH CDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    // WM_CTLCOLORMSGBOX + CTLCOLOR_* is the message that asked.
    return reinterpret_cast<HBRUSH>(::DefWindowProcA(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(pDC->m_hDC),
                                                     reinterpret_cast<LPARAM>(pWnd->m_hWnd)));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        dialog->m_hWnd = hwnd;
    } else {
        // Null for the few messages that come before WM_INITDIALOG.
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (dialog == nullptr) {
        return FALSE;
    }
    // No exception can unwind through the system's dialog manager: the program
    // has none (src/app/win/no_exceptions.cpp).
    return dialog->OnMessage(message, wParam, lParam);
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            CDC dc(reinterpret_cast<HDC>(wParam));
            CWnd control(reinterpret_cast<HWND>(lParam));
            // A colour message answers with the brush itself, not through DWLP_MSGRESULT.
            return reinterpret_cast<INT_PTR>(
                OnCtlColor(&dc, &control, message - WM_CTLCOLORMSGBOX));
        }
        case WM_DPICHANGED:
            ::PostMessageA(m_hWnd, kDpiChangeDone, 0, 0);
            return FALSE;
        case kDpiChangeDone:
            OnDpiChanged();
            return TRUE;
        case WM_NCDESTROY:
            m_hWnd = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

bool CDialog::OnCommand(int id, UINT code) {
    for (const CommandEntry& entry : m_commands) {
        if (entry.nID == id && entry.nCode == code) {
            (this->*entry.pfn)();
            return true;
        }
    }
    if (code != BN_CLICKED) {
        return false;
    }
    if (id == IDOK) {
        // Enter sends IDOK even while the OK button is disabled (the pages
        // have no default button); a disabled OK button must not act.
        const CWnd okButton = GetDlgItem(IDOK);
        if (okButton.m_hWnd == nullptr || okButton.IsWindowEnabled()) {
            OnOK();
        }
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}
