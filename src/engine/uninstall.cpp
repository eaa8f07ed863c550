#include "engine/uninstall.h"

#include <algorithm>

#include "core/mbcs.h"
#include "engine/active_setup.h"
#include "engine/apps_features.h"
#include "engine/data_files.h"
#include "engine/install_paths.h"
#include "engine/installation.h"
#include "engine/journal/anchor.h"
#include "engine/journal/record_scope.h"
#include "engine/settings_folder.h"
#include "engine/trusted_paths_registration.h"
#include "engine/user_hives.h"

namespace vk {

RecordOfInstallation ReadInstallationRecord(const Services& services,
                                            const std::string& productDir) {
    RecordOfInstallation record;
    RecordContents contents;
    const std::string path = JoinPath(productDir, kRecordFileName);
    record.state = ReadRecord(services.files, services.codePage, path, contents, record.problem);
    if (record.state == RecordState::Missing)
        return record;
    const std::optional<RecordAnchor> anchor = ReadRecordAnchor(services);
    if (record.state != RecordState::Foreign && (!anchor || contents.id != anchor->id)) {
        record.state = RecordState::Foreign;
        record.problem = anchor ? "its identifier is not the one in the Apps & Features entry"
                                : "the Apps & Features entry holds no record identifier";
    }
    // As its last run left it: nothing cut off, nothing changed since.
    if (record.state == RecordState::Read && anchor->seal) {
        record.state = ReadRecord(services.files, services.codePage, path, contents, record.problem,
                                  anchor->seal);
    }
    if (record.state == RecordState::Foreign) {
        services.log.Info("The record " + path + " was not written by this installation (" +
                          record.problem + "): nothing in it is trusted or undone");
        return record;
    }
    if (contents.lastLineCut)
        services.log.Info("The record's last line was cut short: its change had not begun");
    for (std::size_t i = 0; record.state == RecordState::Read && i < contents.entries.size(); ++i) {
        const std::string outside =
            PlaceOutsideInstallation(services.codePage, productDir, contents.entries[i]);
        if (!outside.empty()) {
            record.state = RecordState::Damaged;
            record.problem = "line " + std::to_string(i + 2) + " names " + outside +
                             ", which no installation writes";
        }
    }
    record.id = contents.id;
    record.entries = EntriesInForce(contents.entries);
    return record;
}

void RemoveInstallation(const Services& services, const std::string& productDir,
                        const std::vector<RecordEntry>& entries, bool removeFolder,
                        UndoReport& report) {
    if (LastRunInterrupted(entries))
        services.log.Info("The last installation into " + productDir +
                          " was interrupted: it is taken back whole");
    // Above what the component is now, before the undo takes it back.
    const std::string removalVersion = NextComponentVersion(services, "");
    UndoChanges(services, entries, productDir, report);
    // The record holds what the installation wrote; the per-user setup, run
    // as each user, could not record its entries. Every signed-in user loses
    // the folder from every list, and the stub's Run entry and Windows' mark
    // that the user was served. Their settings files are theirs: the
    // elevated process does not reach into their folders.
    const std::optional<std::string> ownAppData = AppDataFolder(services.files);
    for (const UserHive& user : LoadedUserHives(services)) {
        if (!RemoveTrustedPathFor(services, user, productDir))
            report.notRemoved.push_back("TRUSTEDPATHS of " + user.Name());
        if (user.appData && user.appData != ownAppData) {
            services.log.Info(
                "Left the settings file of " + user.Name() + " (" +
                JoinPath(JoinPath(*user.appData, kSettingsFolderName), kSettingsFile) +
                ", if there): the user's own data");
        }
    }
    if (RemoveLoadedUsersStubEntries(services) != kOk)
        report.notRemoved.push_back("the per-user setup's Run entries");
    // Users out of reach get the removal at their next logon.
    if (WriteRemovalComponent(services, productDir, removalVersion) != kOk)
        report.notRemoved.push_back("the per-user setup's Active Setup component");
    if (removeFolder)
        RemoveProductFolder(services, entries, productDir, report);
}

void TakeBackPendingFolders(const Services& services) {
    const std::optional<RecordAnchor> anchor = ReadRecordAnchor(services);
    if (!anchor || anchor->pendingFolders.empty())
        return;
    // The deepest first; the record a run may have begun there goes with it.
    std::vector<std::string> folders = anchor->pendingFolders;
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    services.files.RemoveFile(JoinPath(folders.front(), kRecordFileName));
    for (const std::string& folder : folders) {
        if (services.files.RemoveEmptyFolder(folder) == kOk)
            services.log.Info("Removed the folder " + folder + ", left by a run cut short");
    }
    WritePendingFolders(services, {});
}

bool FinishRemovalCutShort(const Services& services, const std::string& productDir) {
    const std::optional<RecordAnchor> anchor = ReadRecordAnchor(services);
    const std::optional<std::string> registered = InstalledProductDir(services);
    if (!anchor || !registered ||
        services.codePage.ToUpper(*registered) != services.codePage.ToUpper(productDir)) {
        return false;
    }
    services.log.Info("An uninstall of " + productDir +
                      " was cut short after it removed the record: finishing it");
    TakeBackPendingFolders(services);
    if (const OsResult result = RemoveAppsFeaturesEntry(services); result != kOk)
        services.log.Failed("remove the Apps & Features entry", result);
    return true;
}

std::string ChosenFolderOf(const ICodePage& codePage, const std::string& productDir) {
    const std::string suffix = std::string("\\") + kProductFolderName;
    const std::string upper = codePage.ToUpper(productDir);
    std::string chosen = productDir;
    // The backslash must be a character of its own, not a trail byte.
    const std::size_t at = upper.size() - std::min(upper.size(), suffix.size());
    const std::vector<std::size_t> starts = CharacterStarts(codePage, productDir);
    if (at > 0 && upper.ends_with(codePage.ToUpper(suffix)) &&
        std::find(starts.begin(), starts.end(), at) != starts.end()) {
        chosen = productDir.substr(0, at);
    }
    if (chosen.size() == 2 && chosen[1] == ':')
        chosen += '\\';
    return chosen;
}

}  // namespace vk
