#include "ui/pages/dlg_page1.h"

#include "model/install_context.h"
#include "res/resource.h"
#include "ui/framework/ddx.h"
#include "ui/pages/agreement_text.h"

const CommandEntry Dlg_Page1::kCommands[] = {
    {IDC_PREV_SCREEN, BN_CLICKED, OnCommandOf(&Dlg_Page1::OnPrevPage)},
    {IDC_NEXT_SCREEN, BN_CLICKED, OnCommandOf(&Dlg_Page1::OnNextPage)},
    {IDC_DISAGREE, BN_CLICKED, OnCommandOf(&Dlg_Page1::OnAgreeChoice)},
    {IDC_AGREE, BN_CLICKED, OnCommandOf(&Dlg_Page1::OnAgreeChoice)},
};

Dlg_Page1::Dlg_Page1(CWnd* pParent) : CDialog(IDD_PAGE1, kCommands, pParent) {}

void Dlg_Page1::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_AGREEMENT, m_strAgreement);
    DDX_Radio(pDX, IDC_DISAGREE, m_nAgreeChoice);
    DDX_Text(pDX, IDC_VERSION_LINE, m_strVersion);
}

BOOL Dlg_Page1::OnInitDialog() {
    CDialog::OnInitDialog();
    m_frame.Init(*this, &m_strVersion);

    m_nTextPage = 0;
    ShowAgreementPage();
    m_nAgreeChoice = g_nAgreeChoice;
    UpdateData(FALSE);
    EnableNextForChoice();
    return TRUE;
}

void Dlg_Page1::ShowAgreementPage() {
    GetDlgItem(IDC_PREV_SCREEN).EnableWindow(m_nTextPage != 0);
    GetDlgItem(IDC_NEXT_SCREEN).EnableWindow(m_nTextPage != kAgreementScreenCount - 1);
    if (m_nTextPage >= 0 && m_nTextPage < kAgreementScreenCount) {
        m_strAgreement = LoadAgreementScreen(m_nTextPage);
    }
    UpdateData(FALSE);
}

void Dlg_Page1::OnPrevPage() {
    --m_nTextPage;
    ShowAgreementPage();
}

void Dlg_Page1::OnNextPage() {
    ++m_nTextPage;
    ShowAgreementPage();
}

void Dlg_Page1::OnAgreeChoice() {
    UpdateData(TRUE);
    EnableNextForChoice();
}

void Dlg_Page1::EnableNextForChoice() {
    GetDlgItem(IDOK).EnableWindow(m_nAgreeChoice != 0);
}

void Dlg_Page1::OnOK() {
    m_nNextPage = 2;
    g_nAgreeChoice = m_nAgreeChoice;
    CDialog::OnOK();
}

void Dlg_Page1::OnCancel() {
    m_nNextPage = 0;
    EndDialog(IDCANCEL);
}

HBRUSH Dlg_Page1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_frame.CtlColor(pDC, pWnd);
}
