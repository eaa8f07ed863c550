#include "app/win/wizard_app.h"

#include <optional>
#include <string>

#include "app/answering_prompts.h"
#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "app/install_context.h"
#include "app/release_report.h"
#include "app/unattended_run.h"
#include "app/win/account.h"
#include "app/win/setup_objects.h"
#include "app/win/system_dlls.h"
#include "app/win/today.h"
#include "engine/setup_message.h"
#include "platform/win32/own_resources.h"
#include "res/resource.h"
#include "ui/pages/dlg_page1.h"
#include "ui/pages/dlg_page2.h"
#include "ui/pages/dlg_page3.h"
#include "ui/pages/dlg_page4.h"
#include "ui/silent/progress_window.h"

namespace {

// One visit of a page: a fresh object, run modally, asked where to go next.
template <typename Page>
int VisitPage() {
    Page page;
    page.DoModal();
    return page.m_nNextPage;
}

}  // namespace

CWizardApp::CWizardApp() = default;

CWizardApp::~CWizardApp() = default;

BOOL CWizardApp::InitInstance() {
    // The install page and the silent window host a progress bar, a common control.
    vk::win32::InitCommonControlsFromSystem(ICC_PROGRESS_CLASS);

    theCatalog.DiscoverReleases();
    vk::LogReleasesFound(theCatalog.Services(), theCatalog);

    if (!m_options.Unattended()) {
        m_nExitCode = RunWizard();
        return FALSE;
    }
    m_nExitCode = RunUnattendedInstallation();
    return FALSE;
}

int CWizardApp::ExitInstance() {
    CWinApp::ExitInstance();
    return m_nExitCode;
}

int CWizardApp::RunWizard() {
    if (const int refused = ApplyOptionsToWizard(); refused != vk::kExitFinished)
        return refused;
    // Until an installation has run, leaving the wizard is a cancellation.
    int exitCode = vk::kExitCancelled;
    int page = 1;
    // The page-number protocol: 1 to 4 name a page, anything else ends the wizard.
    while (page >= 1 && page <= 4) {
        switch (page) {
            case 1:
                page = VisitPage<Dlg_Page1>();
                break;
            case 2:
                page = VisitPage<Dlg_Page2>();
                break;
            case 3: {
                Dlg_Page3 install;
                install.DoModal();
                page = install.m_nNextPage;
                if (install.m_outcome) {
                    exitCode = vk::ExitCodeOf(*install.m_outcome);
                    SaveChoicesMade();
                }
                break;
            }
            case 4:
                page = VisitPage<Dlg_Page4>();
                break;
        }
    }
    theCatalog.Services().log.Info(exitCode == vk::kExitCancelled ? "The wizard was cancelled"
                                                                  : "The wizard ended");
    return exitCode;
}

void CWizardApp::SaveChoicesMade() const {
    if (m_options.saveInf.empty())
        return;
    const vk::Services& services = theCatalog.Services();
    std::vector<int> years;
    for (const int year : vk::OfferedYears(services, theCatalog)) {
        if (g_bReleaseSelected[year - kFirstReleaseYear] != 0)
            years.push_back(year);
    }
    if (vk::SaveChoices(services, m_options.saveInf, g_strInstallFolder, years) != vk::kOk) {
        vk::SetupMessage(services, "无法把安装选择保存到文件：\n\n" + m_options.saveInf,
                         vk::kMbOk | vk::kMbIconExclamation);
    }
}

int CWizardApp::ApplyOptionsToWizard() {
    const vk::Services& services = theCatalog.Services();
    // The install page starts with an earlier installation's folder.
    g_strInstallFolder = vk::StartingInstallFolder(services);
    if (m_options.folder || m_options.years) {
        // /DIR and /RELEASES are checked as the plan checks them; what the
        // pages themselves ask about (a folder others could change, AutoCAD
        // running, the Data folder, an earlier record) waits for the pages.
        const std::variant<vk::InstallPlan, vk::Refusal> planned =
            vk::PlanInstallation(services, vk::ChoicesOf(services, theCatalog, m_options));
        if (const auto* refusal = std::get_if<vk::Refusal>(&planned)) {
            using Kind = vk::Refusal::Kind;
            const bool askedByThePages =
                refusal->kind == Kind::ReplaceableFolder || refusal->kind == Kind::AcadRunning ||
                refusal->kind == Kind::NoData || refusal->kind == Kind::DamagedRecord;
            if (!askedByThePages) {
                return vk::Tell(services, refusal->reason, vk::UnattendedText(*refusal),
                                vk::kMbOk | vk::kMbIconStop, vk::ExitCodeOf(*refusal));
            }
        } else if (m_options.years) {
            const vk::InstallPlan& plan = std::get<vk::InstallPlan>(planned);
            std::copy(plan.selected.begin(), plan.selected.end(), std::begin(g_bReleaseSelected));
        }
        if (m_options.folder)
            g_strInstallFolder = *m_options.folder;
    }
    if (m_options.allowRunning)
        g_bWarnAcadRunning = false;
    return vk::kExitFinished;
}

int CWizardApp::RunUnattendedInstallation() {
    const vk::Services& system = theCatalog.Services();
    // Nobody to ask: every question gets its unattended answer, in the log.
    vk::AnsweringPrompts answering(system.log);
    const vk::Services services = vk::ServicesAsking(system, m_options.MayAsk(), answering);
    std::optional<CSilentProgressWindow> window;
    if (m_options.mode == vk::RunMode::Silent)
        window.emplace();
    const int exitCode = vk::RunUnattended(
        services, theCatalog,
        {m_options, window ? &*window : nullptr, vk::win32::RunsAsLocalSystem(), vk::win32::Today(),
         std::string(vk::win32::OwnResourceBytes(IDR_LOGON_PROGRAM))});
    if (window)
        window->Finish();
    return exitCode;
}
