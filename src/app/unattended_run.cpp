#include "app/unattended_run.h"

#include <algorithm>

#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "app/install_context.h"
#include "app/release_offer.h"
#include "app/release_report.h"
#include "engine/acad_running.h"
#include "engine/apps_features.h"
#include "engine/demand_load.h"
#include "engine/file_ops.h"
#include "engine/install_folder_check.h"
#include "engine/install_texts.h"
#include "engine/installation.h"
#include "engine/setup_message.h"
#include "engine/uninstall.h"

namespace vk {
namespace {

std::string YearList(const std::vector<int>& years) {
    std::string text;
    for (int year : years)
        text += (text.empty() ? "" : ", ") + std::to_string(year);
    return text;
}

}  // namespace

int Tell(const Services& services, const std::string& reason, const std::string& text,
         unsigned type, int exitCode) {
    services.log.Info("Stopped: " + reason);
    SetupMessage(services, text, type);
    return exitCode;
}

int SelectReleases(const Services& services, const CAcadReleaseCatalog& catalog,
                   const SetupOptions& options, ReleaseSelection& selected) {
    const std::vector<int> offered = OfferedYears(services, catalog);
    // Found, but this package has no module for them: never installed.
    const std::vector<int> unserved =
        ReleasesFoundWithoutModule(services, catalog, g_nPlatformBits);
    for (int year : unserved) {
        services.log.Info("Left out AutoCAD " + std::to_string(year) + ": Data has no " +
                          ModuleFileName(year));
    }
    std::vector<int> wanted = options.years.value_or(offered);
    if (!options.years && offered.empty()) {
        return Tell(services,
                    unserved.empty()
                        ? "no AutoCAD release on this machine that this setup can install"
                        : "the AutoCAD releases on this machine (" + YearList(unserved) +
                              ") need a module that this package's Data folder lacks",
                    unserved.empty() ? "此计算机上未找到本安装程序可以安装的 AutoCAD 版本。"
                                     : UnservedReleasesText(unserved, true),
                    kMbOk | kMbIconStop, kExitNoReleaseToServe);
    }
    for (int year : wanted) {
        if (std::find(offered.begin(), offered.end(), year) != offered.end()) {
            selected[year - kFirstReleaseYear] = 1;
            continue;
        }
        const bool noModule = std::find(unserved.begin(), unserved.end(), year) != unserved.end();
        return Tell(services,
                    "AutoCAD " + std::to_string(year) +
                        (noModule ? " needs " + ModuleFileName(year) + ", which Data lacks"
                                  : " is not installed on this machine") +
                        " (releases this setup can install here: " +
                        (offered.empty() ? std::string("none") : YearList(offered)) + ")",
                    (noModule ? UnservedReleasesText({year}, false)
                              : "此计算机上没有可以安装的 AutoCAD " + std::to_string(year) + "。") +
                        "\n\n可以安装的版本：" +
                        (offered.empty() ? std::string("无") : YearList(offered)),
                    kMbOk | kMbIconStop, kExitCannotStart);
    }
    services.log.Info("Releases to install: " + YearList(wanted));
    return kExitFinished;
}

std::string StartingInstallFolder(const Services& services) {
    if (const std::optional<std::string> earlier = InstalledProductDir(services))
        return ChosenFolderOf(services.codePage, *earlier);
    return kDefaultInstallFolder;
}

int ResolveFolder(const Services& services, const SetupOptions& options, std::string& folder,
                  bool someoneToAsk) {
    const std::string typed = options.folder.value_or(StartingInstallFolder(services));
    const FolderCheck check = CheckInstallFolder(services, typed);
    if (check.verdict == FolderVerdict::Invalid) {
        return Tell(services,
                    "the install folder is not a full path of valid folder names: " + typed,
                    "安装路径无效：\n\n" + typed +
                        "\n\n请用 /DIR 指定一个完整的路径，例如 /DIR=\"C:\\Varnok\"。",
                    kMbOk | kMbIconStop, kExitCannotStart);
    }
    if (check.verdict == FolderVerdict::ListSeparator)
        return Tell(
            services,
            "the install folder holds \";\", which separates AutoCAD's trusted paths: " + typed,
            kListSeparatorText, kMbOk | kMbIconStop, kExitCannotStart);
    if (check.verdict == FolderVerdict::TooLong)
        return Tell(services,
                    "the install folder is too long for the files below it (at most " +
                        std::to_string(check.limit) + " bytes): " + typed,
                    FolderTooLongText(check.limit), kMbOk | kMbIconStop, kExitCannotStart);
    if (check.verdict == FolderVerdict::Link)
        return Tell(services,
                    "a folder of the install path is a symbolic link or junction: " + check.linked,
                    LinkOnPathText(check.linked), kMbOk | kMbIconStop, kExitCannotStart);
    if (check.verdict == FolderVerdict::Replaceable && !someoneToAsk)
        return Tell(services,
                    "a standard user could replace a folder of the install path: " +
                        check.replaceable.folder,
                    ReplaceableFolderText(check.replaceable) + kChooseProtectedFolderText,
                    kMbOk | kMbIconStop, kExitCannotStart);
    folder = check.folder;
    return kExitFinished;
}

int RunUnattended(const Services& services, CAcadReleaseCatalog& catalog,
                  const UnattendedRun& run) {
    const SetupOptions& options = run.options;
    services.log.Info("Unattended installation; the agreement counts as accepted");

    if (const std::string data = GetSetupDataFolder(services);
        GetPathKind(services.files, data) != kPathFolder) {
        return Tell(services, "no Data folder beside the setup program: " + data, kMissingDataText,
                    kMbOk, kExitCannotStart);
    }

    std::string folder;
    if (const int refused = ResolveFolder(services, options, folder); refused != kExitFinished)
        return refused;
    InstallRequest request{folder, {}, run.progress};
    if (const int refused = SelectReleases(services, catalog, options, request.selected);
        refused != kExitFinished) {
        return refused;
    }

    if (const std::optional<RunningProcess> acad = FindRunningAcad(services)) {
        if (!options.allowRunning) {
            return Tell(services, "AutoCAD is running: " + Described(*acad), kAcadRunningText,
                        kMbOk, kExitCannotProceed);
        }
        services.log.Info("AutoCAD is running (" + Described(*acad) +
                          "); installing all the same (/ALLOWRUNNING)");
    }

    request.copyFailures =
        options.suppressMessageBoxes ? CopyFailurePolicy::Abort : CopyFailurePolicy::AskUser;
    request.version = VersionNumber();
    request.installDate = run.today;
    request.runsAsSystem = run.runsAsSystem;
    if (run.runsAsSystem) {
        services.log.Info(
            "Running as SYSTEM: the trusted paths and the settings file go to every "
            "signed-in user and, through Active Setup, to each later one, not to SYSTEM's own "
            "profile");
    }
    const int exitCode = ExitCodeOf(RunInstallation(services, catalog, request));
    if (!options.saveInf.empty()) {
        std::vector<int> years;
        for (int slot = 0; slot < kReleaseSlots; ++slot) {
            if (request.selected[slot] != 0)
                years.push_back(kFirstReleaseYear + slot);
        }
        SaveChoices(services, options.saveInf, folder, years);
    }
    return exitCode;
}

}  // namespace vk
