#include "install/install_folder_check.h"

#include "core/folder_path_rules.h"
#include "core/mbcs.h"
#include "install/demand_load.h"
#include "install/installation.h"

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
    // The picker's rules, before anything is created. A drive root is checked
    // as the root it is; a backslash still at the end is an empty name.
    const std::string checked = IsBareDrive(check.folder) ? check.folder + '\\' : check.folder;
    if (EndsWithChar(services.codePage, check.folder, '\\') ||
        CreateFolderPath(services, checked, true) != kPathOk) {
        check.verdict = FolderVerdict::Invalid;
        return check;
    }
    // A longer install folder could not be registered for loading in AutoCAD.
    check.verdict = InstallFolderFitsLoader(InstallDirOf(check.folder)) ? FolderVerdict::Ok
                                                                        : FolderVerdict::TooLong;
    return check;
}

}  // namespace vk
