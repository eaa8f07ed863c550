#include "engine/install_folder_check.h"

#include <optional>
#include <utility>

#include "core/folder_path_rules.h"
#include "core/mbcs.h"
#include "engine/install_folder_limit.h"
#include "engine/install_paths.h"
#include "engine/installation.h"

namespace vk {
namespace {

// "D:", what is left of the drive root "D:\" once its backslash is gone.
bool IsBareDrive(const std::string& folder) {
    return folder.size() == 2 && folder[1] == ':';
}

}  // namespace

FolderCheck CheckInstallFolder(const Services& services, const std::string& typed) {
    FolderCheck check;
    check.folder = WithoutTrailingBackslash(services.codePage, typed);
    if (HoldsListSeparator(typed)) {
        check.verdict = FolderVerdict::ListSeparator;
        return check;
    }
    // The picker's rules, before anything is created. A drive root is checked
    // as the root it is; a backslash still at the end is an empty name. A text
    // too long for any path is not judged by them: it is too long.
    const std::string checked = IsBareDrive(check.folder) ? check.folder + '\\' : check.folder;
    if (FitsMaxPath(checked) && (EndsWithChar(services.codePage, check.folder, '\\') ||
                                 CreateFolderPath(services, checked, true) != kPathOk)) {
        check.verdict = FolderVerdict::Invalid;
        return check;
    }
    // Every file the installation writes into the folder must fit a path.
    if (const std::optional<std::size_t> limit =
            InstallFolderOverLimit(services, InstallDirOf(check.folder))) {
        check.verdict = FolderVerdict::TooLong;
        check.limit = *limit;
        return check;
    }
    if (std::optional<std::string> link = FindLinkOnPath(services, InstallDirOf(check.folder))) {
        check.verdict = FolderVerdict::Link;
        check.linked = std::move(*link);
        return check;
    }
    if (std::optional<ReplaceableFolder> replaceable =
            FindReplaceableFolder(services, check.folder)) {
        check.verdict = FolderVerdict::Replaceable;
        check.replaceable = std::move(*replaceable);
        return check;
    }
    check.verdict = FolderVerdict::Ok;
    return check;
}

}  // namespace vk
