#include "engine/plan.h"

#include <algorithm>

#include "engine/acad_running.h"
#include "engine/apps_features.h"
#include "engine/demand_load.h"
#include "engine/file_ops.h"
#include "engine/install_folder_check.h"
#include "engine/install_paths.h"
#include "engine/install_texts.h"
#include "engine/journal/record.h"
#include "engine/release_offer.h"
#include "engine/uninstall.h"

namespace vk {
namespace {

using Kind = Refusal::Kind;

bool Holds(const std::vector<int>& years, int year) {
    return std::find(years.begin(), years.end(), year) != years.end();
}

std::optional<Refusal> CheckReleases(const Services& services, const InstallChoices& choices,
                                     InstallPlan& plan) {
    for (int year : choices.unserved) {
        services.log.Info("Left out AutoCAD " + std::to_string(year) + ": Data has no " +
                          ModuleFileName(year));
    }
    const std::vector<int>& offered = choices.offered;
    const std::vector<int>& unserved = choices.unserved;
    if (!choices.years && offered.empty()) {
        return Refusal{Kind::NoReleaseToServe,
                       unserved.empty()
                           ? "no AutoCAD release on this machine that this setup can install"
                           : "the AutoCAD releases on this machine (" + YearList(unserved) +
                                 ") need a module that this package's Data folder lacks",
                       unserved.empty() ? "此计算机上未找到本安装程序可以安装的 AutoCAD 版本。"
                                        : UnservedReleasesText(unserved, true)};
    }
    plan.years = choices.years.value_or(offered);
    for (int year : plan.years) {
        if (Holds(offered, year)) {
            plan.selected[year - kFirstReleaseYear] = 1;
            continue;
        }
        const bool noModule = Holds(unserved, year);
        return Refusal{
            Kind::ReleaseNotOffered,
            "AutoCAD " + std::to_string(year) +
                (noModule ? " needs " + ModuleFileName(year) + ", which Data lacks"
                          : " is not installed on this machine") +
                " (releases this setup can install here: " +
                (offered.empty() ? std::string("none") : YearList(offered)) + ")",
            (noModule ? UnservedReleasesText({year}, false)
                      : "此计算机上没有可以安装的 AutoCAD " + std::to_string(year) + "。") +
                "\n\n可以安装的版本：" + (offered.empty() ? std::string("无") : YearList(offered))};
    }
    services.log.Info("Releases to install: " + YearList(plan.years));
    return std::nullopt;
}

// The installation now in the chosen folder, or registered elsewhere, whose
// record says it is damaged: nothing may be done over it.
std::optional<Refusal> CheckEarlierInstallation(const Services& services,
                                                const std::string& folder) {
    std::vector<std::string> productDirs{InstallDirOf(folder)};
    if (const std::optional<std::string> earlier = InstalledProductDir(services))
        productDirs.push_back(*earlier);
    for (const std::string& productDir : productDirs) {
        const RecordOfInstallation record = ReadInstallationRecord(services, productDir);
        if (record.state == RecordState::Damaged) {
            const std::string path = JoinPath(productDir, kRecordFileName);
            return Refusal{Kind::DamagedRecord,
                           "the record of the installation in " + productDir +
                               " is damaged: " + record.problem,
                           DamagedRecordText(path, false)};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Refusal> CheckChosenFolder(const Services& services, const InstallChoices& choices,
                                         std::string& folder) {
    const std::string& typed = choices.typedFolder;
    const FolderCheck check = CheckInstallFolder(services, typed);
    switch (check.verdict) {
        case FolderVerdict::Ok:
            break;
        case FolderVerdict::Invalid:
            return Refusal{Kind::InvalidFolder,
                           "the install folder is not a full path of valid folder names: " + typed,
                           "The folder:\n\n" + typed + "\n\nis invalid."};
        case FolderVerdict::ListSeparator:
            return Refusal{
                Kind::ListSeparator,
                "the install folder holds \";\", which separates AutoCAD's trusted paths: " + typed,
                kListSeparatorText};
        case FolderVerdict::TooLong:
            return Refusal{Kind::FolderTooLong,
                           "the install folder is too long for the files below it (at most " +
                               std::to_string(check.limit) + " bytes): " + typed,
                           FolderTooLongText(check.limit)};
        case FolderVerdict::Link:
            return Refusal{
                Kind::LinkOnPath,
                "a folder of the install path is a symbolic link or junction: " + check.linked,
                LinkOnPathText(check.linked)};
        case FolderVerdict::Replaceable:
            if (services.codePage.ToUpper(check.replaceable.folder) !=
                services.codePage.ToUpper(choices.acceptedReplaceable)) {
                return Refusal{Kind::ReplaceableFolder,
                               "a standard user could replace or add to a folder of the install "
                               "path: " +
                                   check.replaceable.folder,
                               ReplaceableFolderText(check.replaceable), check.replaceable};
            }
            services.log.Info("Installing below " + check.replaceable.folder +
                              ", which standard users could change: agreed to");
            break;
    }
    folder = check.folder;
    return std::nullopt;
}

std::string YearList(const std::vector<int>& years) {
    std::string text;
    for (int year : years)
        text += (text.empty() ? "" : ", ") + std::to_string(year);
    return text;
}

std::variant<InstallPlan, Refusal> PlanInstallation(const Services& services,
                                                    const InstallChoices& choices) {
    InstallPlan plan;
    if (std::optional<Refusal> refused = CheckChosenFolder(services, choices, plan.folder))
        return *refused;
    if (std::optional<Refusal> refused = CheckReleases(services, choices, plan))
        return *refused;
    if (const std::string data = GetSetupDataFolder(services);
        GetPathKind(services.files, data) != kPathFolder) {
        return Refusal{Kind::NoData, "no Data folder beside the setup program: " + data,
                       kMissingDataText};
    }
    if (const std::optional<RunningProcess> acad = FindRunningAcad(services)) {
        if (!choices.acadRunningAccepted) {
            return Refusal{Kind::AcadRunning, "AutoCAD is running: " + Described(*acad),
                           kAcadRunningText};
        }
        services.log.Info("AutoCAD is running (" + Described(*acad) + "); installing all the same");
    }
    if (std::optional<Refusal> refused = CheckEarlierInstallation(services, plan.folder))
        return *refused;
    return plan;
}

}  // namespace vk
