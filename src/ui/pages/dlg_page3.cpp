#include "ui/pages/dlg_page3.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "acad/release_catalog.h"
#include "app/install_context.h"
#include "app/win/setup_objects.h"
#include "app/win/today.h"
#include "engine/acad_running.h"
#include "engine/install_texts.h"
#include "engine/installation.h"
#include "engine/plan.h"
#include "platform/win32/own_resources.h"
#include "res/resource.h"
#include "ui/framework/ddx.h"
#include "ui/framework/error_report.h"
#include "ui/framework/win_app.h"
#include "ui/picker/path_dialog.h"
#include "ui/progress_stepper.h"

namespace {

constexpr const char* kPickerText = "请选择安装目录：";
constexpr int kProgressEnd = 50;

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
        MessageBox(vk::kAcadRunningText, vk::kSetupCaption, MB_OK);
        g_bWarnAcadRunning = false;
        return;
    }
    UpdateData(TRUE);
    g_strInstallFolder = m_strFolder;
    if (m_strFolder.empty()) {
        AfxReportError(m_hWnd, E_INVALIDARG);
        return;
    }
    std::vector<int> years;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (g_bReleaseSelected[slot] != 0)
            years.push_back(kFirstReleaseYear + slot);
    }
    // The releases are those page 2 offered; AutoCAD running was warned about above.
    vk::InstallChoices choices{m_strFolder, years, years, {}, true, {}};
    std::variant<vk::InstallPlan, vk::Refusal> planned = vk::PlanInstallation(services, choices);
    while (const auto* refusal = std::get_if<vk::Refusal>(&planned)) {
        if (!AcceptRefusal(*refusal)) {
            return;
        }
        choices.acceptedReplaceable = refusal->replaceable.folder;
        planned = vk::PlanInstallation(services, choices);
    }
    const vk::InstallPlan& plan = std::get<vk::InstallPlan>(planned);
    m_strFolder = plan.folder;
    if (!InstallAll(plan, choices.acceptedReplaceable)) {
        return;
    }
    m_nNextPage = 4;
    CDialog::OnOK();
}

bool Dlg_Page3::AcceptRefusal(const vk::Refusal& refusal) {
    using Kind = vk::Refusal::Kind;
    switch (refusal.kind) {
        case Kind::InvalidFolder:
            MessageBox(refusal.text + " Please reenter.", AfxGetAppName(),
                       MB_OK | MB_ICONEXCLAMATION);
            return false;
        case Kind::ReplaceableFolder:
            // The administrator may know the folder is safe; No, the default, keeps the page.
            return MessageBox(refusal.text + vk::kInstallAnywayQuestion, vk::kSetupCaption,
                              MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
        case Kind::NoData:
            // Nothing can be installed from this package: the wizard ends, as
            // an installation that found no Data (exit 1).
            MessageBox(refusal.text, vk::kSetupCaption, MB_OK);
            m_outcome = vk::InstallOutcome{vk::InstallResult::MissingData, {}, 0};
            OnCancel();
            return false;
        case Kind::DamagedRecord:
            MessageBox(refusal.text, vk::kSetupCaption, MB_OK | MB_ICONSTOP);
            return false;
        default:
            MessageBox(refusal.text, vk::kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
            return false;
    }
}

bool Dlg_Page3::InstallAll(const vk::InstallPlan& plan, const std::string& acceptedReplaceable) {
    m_progress.SetRange(0, kProgressEnd);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    CProgressStepper progress(m_progress);

    vk::InstallRequest request{plan.folder, plan.selected, &progress};
    request.version = VersionNumber();
    request.installDate = vk::win32::Today();
    request.acceptedReplaceable = acceptedReplaceable;
    request.logonProgram = vk::win32::OwnResourceBytes(IDR_LOGON_PROGRAM);
    const vk::InstallOutcome outcome =
        vk::RunInstallation(theCatalog.Services(), theCatalog, request);
    // A folder refused before anything changed: the page stays for another.
    if (outcome.result == vk::InstallResult::FolderRefused ||
        outcome.result == vk::InstallResult::EarlierRecordDamaged) {
        m_progress.SetPos(0);
        return false;
    }
    m_outcome = outcome;
    m_strFolder = outcome.installDir;
    if (outcome.result != vk::InstallResult::Completed) {
        OnCancel();
        return false;
    }
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
