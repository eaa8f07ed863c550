#include "app/unattended_run.h"

#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "app/install_context.h"
#include "app/release_report.h"
#include "engine/acad_running.h"
#include "engine/apps_features.h"
#include "engine/demand_load.h"
#include "engine/file_ops.h"
#include "engine/install_folder_check.h"
#include "engine/install_texts.h"
#include "engine/installation.h"
#include "engine/release_offer.h"
#include "engine/setup_message.h"
#include "engine/uninstall.h"

namespace vk {

int Tell(const Services& services, const std::string& reason, const std::string& text,
         unsigned type, int exitCode) {
    services.log.Info("Stopped: " + reason);
    SetupMessage(services, text, type);
    return exitCode;
}

std::string StartingInstallFolder(const Services& services) {
    if (const std::optional<std::string> earlier = InstalledProductDir(services))
        return ChosenFolderOf(services.codePage, *earlier);
    return kDefaultInstallFolder;
}

InstallChoices ChoicesOf(const Services& services, const CAcadReleaseCatalog& catalog,
                         const SetupOptions& options) {
    InstallChoices choices;
    choices.typedFolder = options.folder.value_or(StartingInstallFolder(services));
    choices.years = options.years;
    choices.offered = OfferedYears(services, catalog);
    // Found, but this package has no module for them: never installed.
    choices.unserved = ReleasesFoundWithoutModule(services, catalog, g_nPlatformBits);
    choices.acadRunningAccepted = options.allowRunning;
    return choices;
}

std::string UnattendedText(const Refusal& refusal) {
    switch (refusal.kind) {
        case Refusal::Kind::InvalidFolder:
            return refusal.text + "\n\n请用 /DIR 指定一个完整的路径，例如 /DIR=\"C:\\Varnok\"。";
        case Refusal::Kind::ReplaceableFolder:
            return refusal.text + kChooseProtectedFolderText;
        default:
            return refusal.text;
    }
}

int RunUnattended(const Services& services, CAcadReleaseCatalog& catalog,
                  const UnattendedRun& run) {
    const SetupOptions& options = run.options;
    services.log.Info("Unattended installation; the agreement counts as accepted");

    const std::variant<InstallPlan, Refusal> planned =
        PlanInstallation(services, ChoicesOf(services, catalog, options));
    if (const auto* refusal = std::get_if<Refusal>(&planned)) {
        const unsigned type =
            refusal->kind == Refusal::Kind::AcadRunning || refusal->kind == Refusal::Kind::NoData
                ? kMbOk
                : kMbOk | kMbIconStop;
        return Tell(services, refusal->reason, UnattendedText(*refusal), type,
                    ExitCodeOf(*refusal));
    }
    const InstallPlan& plan = std::get<InstallPlan>(planned);
    InstallRequest request{plan.folder, plan.selected, run.progress};
    request.copyFailures =
        options.suppressMessageBoxes ? CopyFailurePolicy::Abort : CopyFailurePolicy::AskUser;
    request.version = VersionNumber();
    request.installDate = run.today;
    request.runsAsSystem = run.runsAsSystem;
    request.logonProgram = run.logonProgram;
    if (run.runsAsSystem) {
        services.log.Info(
            "Running as SYSTEM: the trusted paths and the settings file go to every "
            "signed-in user and, through Active Setup, to each later one, not to SYSTEM's own "
            "profile");
    }
    const int exitCode = ExitCodeOf(RunInstallation(services, catalog, request));
    if (!options.saveInf.empty())
        SaveChoices(services, options.saveInf, plan.folder, plan.years);
    return exitCode;
}

}  // namespace vk
