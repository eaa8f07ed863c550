#include "ui/pages/dlg_page3.h"

#include <string>

#include "acad/release_catalog.h"
#include "app/install_context.h"
#include "app/win/setup_objects.h"
#include "core/folder_path_rules.h"
#include "core/mbcs.h"
#include "install/acad_running.h"
#include "install/demand_load.h"
#include "install/deploy.h"
#include "install/install_texts.h"
#include "res/resource.h"
#include "ui/framework/ddx.h"
#include "ui/framework/error_report.h"
#include "ui/framework/win_app.h"
#include "ui/picker/path_dialog.h"
#include "ui/progress_stepper.h"

namespace {

constexpr const char* kPickerText = "请选择安装目录：";
constexpr const char* kAcadRunningText = "请关闭AutoCAD后再进行安装 !";
constexpr const char* kProductFolder = "\\Varnok批打印软件";
constexpr int kProgressEnd = 50;

std::string InvalidFolderText(const std::string& folder) {
    return "The folder:\n\n" + folder + "\n\nis invalid. Please reenter.";
}

// Short lines: the system's message box may wrap a long one inside a number.
std::string TooLongText() {
    return "安装路径太长 !\n\n安装文件夹（含“\\Varnok批打印软件”）\n最多只能有 " +
           std::to_string(vk::kMaxLoaderFolderBytes) + " 个字节，\n\n请选择较短的路径 !";
}

// "D:", what is left of the drive root "D:\" once its backslash is gone.
bool IsBareDrive(const std::string& folder) {
    return folder.size() == 2 && folder[1] == ':';
}

}  // namespace

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

void Dlg_Page3::OnBrowse() {
    UpdateData(TRUE);  // a folder typed by hand is where the picker starts
    CPathDialog picker(kPickerText, kPickerText, m_strFolder.c_str(), nullptr);
    if (picker.DoModal() == IDOK) {
        m_strFolder = picker.GetPathName();
        UpdateData(FALSE);
    }
}

void Dlg_Page3::OnOK() {
    const vk::Services& services = theCatalog.Services();
    if (g_bWarnAcadRunning && vk::IsAcadRunning(services)) {
        MessageBox(kAcadRunningText, vk::kSetupCaption, MB_OK);
        g_bWarnAcadRunning = false;
        return;
    }
    UpdateData(TRUE);
    g_strInstallFolder = m_strFolder;
    if (m_strFolder.empty()) {
        AfxThrowInvalidArgException();
    }
    const std::string folder = vk::WithoutTrailingBackslash(services.codePage, m_strFolder);
    if (!AcceptFolder(folder)) {
        return;
    }
    // Each level is created on its own; whatever fails here makes the
    // deployment report the folder it cannot copy into.
    m_strFolder = folder;
    services.files.CreateFolder(m_strFolder);
    m_strFolder += kProductFolder;
    services.files.CreateFolder(m_strFolder);
    if (!InstallAll()) {
        return;
    }
    m_nNextPage = 4;
    CDialog::OnOK();
}

bool Dlg_Page3::AcceptFolder(const std::string& folder) {
    const vk::Services& services = theCatalog.Services();
    // The picker's rules, before anything is created. A drive root is checked
    // as the root it is; a backslash still at the end is an empty name.
    const std::string checked = IsBareDrive(folder) ? folder + '\\' : folder;
    if (vk::EndsWithChar(services.codePage, folder, '\\') ||
        CreateFolderPath(services, checked, true) != vk::kPathOk) {
        MessageBox(InvalidFolderText(m_strFolder), AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // A longer install folder could not be registered for loading in AutoCAD.
    if (!vk::InstallFolderFitsLoader(folder + kProductFolder)) {
        MessageBox(TooLongText(), vk::kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool Dlg_Page3::InstallAll() {
    m_progress.SetRange(0, kProgressEnd);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    CProgressStepper progress(m_progress);

    if (!vk::DeployProgramFiles(theCatalog.Services(), vk::DeployTarget{m_strFolder, &progress})) {
        OnCancel();
        return false;
    }
    progress.Step();
    theCatalog.m_strInstallDir = m_strFolder;
    theCatalog.RegisterSelectedReleases(g_bReleaseSelected);
    progress.Step();
    theCatalog.CopySelectedSupportFiles(g_bReleaseSelected);
    progress.Step();
    m_progress.SetPos(kProgressEnd);
    return true;
}

void Dlg_Page3::OnCancel() {
    m_nNextPage = 0;
    EndDialog(IDCANCEL);
}

HBRUSH Dlg_Page3::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_frame.CtlColor(pDC, pWnd);
}
