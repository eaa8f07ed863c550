#include "ui/pages/dlg_page3.h"

#include "app/install_context.h"
#include "res/resource.h"
#include "ui/framework/ddx.h"

const CommandEntry Dlg_Page3::kCommands[] = {
    {IDC_BACK, BN_CLICKED, OnCommandOf(&Dlg_Page3::OnBack)},
    {IDC_BROWSE, BN_CLICKED, OnCommandOf(&Dlg_Page3::OnBrowse)},
};

Dlg_Page3::Dlg_Page3(CWnd* pParent) : CDialog(IDD_PAGE3, kCommands, pParent) {}

void Dlg_Page3::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_FOLDER, m_strFolder);
    DDX_Text(pDX, IDC_VERSION_LINE_LOW, m_strVersion);
}

BOOL Dlg_Page3::OnInitDialog() {
    CDialog::OnInitDialog();
    m_frame.Init(*this, &m_strVersion);

    m_strFolder = g_strInstallFolder;
    UpdateData(FALSE);
    return TRUE;
}

void Dlg_Page3::OnBack() {
    UpdateData(TRUE);
    g_strInstallFolder = m_strFolder;
    m_nNextPage = 2;
    CDialog::OnOK();
}

// PLACEHOLDER: a later change replaces this with the folder picker. Until
// then "浏览..." does nothing.
void Dlg_Page3::OnBrowse() {}

// PLACEHOLDER: a later change replaces this with the installation (running
// AutoCAD check, folders, file deployment, registration, support files).
// Until then "安  装" changes nothing on the machine and leaves the page open.
void Dlg_Page3::OnOK() {}

void Dlg_Page3::OnCancel() {
    m_nNextPage = 0;
    EndDialog(IDCANCEL);
}

HBRUSH Dlg_Page3::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_frame.CtlColor(pDC, pWnd);
}
