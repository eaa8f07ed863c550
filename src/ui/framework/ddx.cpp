#include "ui/framework/ddx.h"

#include "ui/framework/dialog.h"

HWND CDataExchange::PrepareCtrl(int nIDC) const {
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    CWnd control(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate) {
        value = control.GetWindowText();
    } else {
        control.SetWindowText(value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    const CWnd control(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(control.SendMessage(BM_GETCHECK));
    } else {
        control.SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
    }
}

namespace {

bool IsRadioButton(HWND control) {
    return (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

bool StartsGroup(HWND control) {
    return (::GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP) != 0;
}

}  // namespace

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    const HWND first = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    // Siblings follow in template order; other kinds of control inside the
    // group (the paging buttons of the agreement page) are passed over.
    for (HWND control = first; control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && StartsGroup(control)) {
            break;
        }
        if (!IsRadioButton(control)) {
            continue;
        }
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
            }
        } else {
            ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    control.m_hWnd = pDX->PrepareCtrl(nIDC);
}
