#include "ui/pages/dlg_page4.h"

#include "res/resource.h"

Dlg_Page4::Dlg_Page4(CWnd* pParent) : CDialog(IDD_PAGE4, {}, pParent) {}

BOOL Dlg_Page4::OnInitDialog() {
    CDialog::OnInitDialog();
    m_frame.Init(*this, nullptr);
    UpdateData(FALSE);
    return TRUE;
}

void Dlg_Page4::OnOK() {
    UpdateData(TRUE);
    m_nNextPage = 0;
    CDialog::OnOK();
}

void Dlg_Page4::OnCancel() {
    m_nNextPage = 0;
    EndDialog(IDCANCEL);
}

HBRUSH Dlg_Page4::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_frame.CtlColor(pDC, pWnd);
}
