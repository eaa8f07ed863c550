#pragma once
// Dialog data exchange: moves values between a dialog's members and its
// controls, in the direction UpdateData asks for.
#include <string>

#include "ui/framework/wnd.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    // The control `nIDC` of the dialog (empty when the template has none).
    HWND PrepareCtrl(int nIDC) const;

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CDialog* m_pDlgWnd;
};

// The control's whole text.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// A check box: 0 unchecked, 1 checked (2 indeterminate).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A radio group that starts at `nIDC` (a WS_GROUP control) and runs through its
// following siblings up to the next WS_GROUP control: `value` is the index of
// the checked radio button among the group's radio buttons, -1 when none is.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Binds `control` to the dialog's control `nIDC`, in both directions.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
