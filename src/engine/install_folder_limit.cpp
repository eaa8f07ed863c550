#include "engine/install_folder_limit.h"

#include <algorithm>
#include <string>

#include "acad/release_catalog.h"
#include "engine/demand_load.h"
#include "engine/deploy.h"
#include "engine/file_ops.h"
#include "engine/find_scope.h"
#include "engine/install_paths.h"
#include "engine/journal/record.h"

namespace vk {

std::size_t MaxInstallFolderBytes(const Services& services) {
    std::size_t longest = 0;
    for (int year = kFirstReleaseYear; year <= kLastReleaseYear; ++year)
        longest = std::max(longest, ModuleFileName(year).size());
    // The installation's own files there: the uninstaller, the record, and a
    // backup in its folder (numbered: room for ten thousand of them).
    for (const std::string& own :
         {std::string(kUninstallerFileName), std::string(kLogonProgramFileName),
          std::string(kRecordFileName), std::string(kBackupFolderName) + "\\9999"}) {
        longest = std::max(longest, own.size());
    }

    // Whatever Data holds now, as the deployment will list it.
    FindScope find(services.files);
    FindEntry entry;
    const std::string pattern = JoinPath(GetSetupDataFolder(services), "*.*");
    if (FitsMaxPath(pattern) && find.First(pattern, entry) == kOk) {
        do {
            longest = std::max(longest, InstallFolderNameOf(services.codePage, entry).size());
        } while (find.Next(entry) == kOk);
    }
    const std::size_t separator = 1;  // the backslash before the name
    return longest + separator < kMaxPathBytes ? kMaxPathBytes - separator - longest : 0;
}

std::optional<std::size_t> InstallFolderOverLimit(const Services& services,
                                                  const std::string& installFolder) {
    const std::size_t limit = MaxInstallFolderBytes(services);
    if (installFolder.size() > limit)
        return limit;
    return std::nullopt;
}

}  // namespace vk
