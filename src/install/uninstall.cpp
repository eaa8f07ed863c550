#include "install/uninstall.h"

#include <algorithm>

#include "core/mbcs.h"
#include "install/active_setup.h"
#include "install/apps_features.h"
#include "install/install_paths.h"
#include "install/installation.h"
#include "install/trusted_paths_registration.h"
#include "install/user_hives.h"

namespace vk {

RecordOfInstallation ReadInstallationRecord(const Services& services,
                                            const std::string& productDir) {
    RecordOfInstallation record;
    RecordContents contents;
    record.state = ReadRecord(services.files, services.codePage,
                              JoinPath(productDir, kRecordFileName), contents, record.problem);
    if (contents.lastLineCut)
        services.log.Info("The record's last line was cut short: its change had not begun");
    record.entries = EntriesInForce(contents.entries);
    return record;
}

void RemoveInstallation(const Services& services, const std::string& productDir,
                        const std::vector<RecordEntry>& entries, bool removeFolder,
                        UndoReport& report) {
    UndoChanges(services, entries, productDir, report);
    // The record holds what the installation wrote; the per-user setup, run
    // as each user, could not record its entries. Every signed-in user loses
    // the folder from every list.
    for (const UserHive& user : LoadedUserHives(services)) {
        if (!RemoveTrustedPathFor(services, user, productDir))
            report.notRemoved.push_back("TRUSTEDPATHS of " + user.Name());
    }
    if (RemoveActiveSetup(services) != kOk)
        report.notRemoved.push_back("the per-user setup's Active Setup component or Run entries");
    if (const OsResult result = RemoveAppsFeaturesEntry(services); result != kOk) {
        services.log.Failed("remove the Apps & Features entry", result);
        report.notRemoved.push_back("the Apps & Features entry");
    }
    if (removeFolder)
        RemoveProductFolder(services, entries, productDir, report);
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
