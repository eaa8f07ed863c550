#include "engine/folder_protection.h"

#include "engine/find_scope.h"
#include "engine/install_path_safety.h"
#include "engine/install_paths.h"

namespace vk {
namespace {

constexpr const char* kProtectionText =
    "owner Administrators, full control for SYSTEM and Administrators, read and execute for "
    "Users, nothing inherited";

// Gives every entry below `folder` the inheriting descriptor, depth first.
void ResetEntriesBelow(const Services& services, const std::string& folder) {
    FindScope find(services.files);
    FindEntry entry;
    const std::string pattern = JoinPath(folder, "*.*");
    if (!FitsMaxPath(pattern) || find.First(pattern, entry) != kOk)
        return;
    do {
        if (entry.name == "." || entry.name == "..")
            continue;
        const std::string path = JoinPath(folder, entry.name);
        if (IsLink(entry)) {
            services.log.Skipped(path + ": a link, its rights left alone");
            continue;
        }
        const OsResult result = services.files.ApplySecurity(path, kInheritingEntrySddl);
        if (result != kOk) {
            services.log.Failed("reset the rights of " + path, result);
        } else {
            services.log.Info("Reset the rights of " + path + " to the folder's (" +
                              kInheritingEntrySddl + ")");
        }
        if (entry.attributes & kAttrDirectory)
            ResetEntriesBelow(services, path);
    } while (find.Next(entry) == kOk);
}

}  // namespace

OsResult CreateProtectedFolder(const Services& services, const std::string& folder) {
    const OsResult result = services.files.CreateFolderWithSecurity(folder, kProtectedFolderSddl);
    if (result == kErrAlreadyExists) {
        services.log.Info(folder + " was made by someone else in the meantime");
        return result;
    }
    if (result != kOk) {
        services.log.Failed("create the folder " + folder, result);
        return result;
    }
    services.log.Info("Created " + folder + ", protected: " + kProtectionText + " (" +
                      kProtectedFolderSddl + ")");
    return kOk;
}

bool ProtectFolder(const Services& services, const std::string& folder) {
    const OsResult result = services.files.ApplySecurity(folder, kProtectedFolderSddl);
    if (result != kOk) {
        services.log.Failed("protect " + folder + " (" + kProtectedFolderSddl + ")", result);
        return false;
    }
    services.log.Info("Protected " + folder + ": " + kProtectionText + " (" + kProtectedFolderSddl +
                      ")");
    ResetEntriesBelow(services, folder);
    return true;
}

}  // namespace vk
