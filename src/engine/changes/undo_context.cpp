#include "engine/changes/undo_context.h"

#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "engine/file_ops.h"
#include "engine/journal/record_scope.h"
#include "engine/settings_folder.h"

namespace vk {

UndoContext::UndoContext(const Services& services, std::string productDir, UndoReport& report)
    : services(services), productDir(std::move(productDir)), report_(report) {}

std::optional<WrittenContent> UndoContext::WrittenInto(const std::string& path) const {
    const auto found = written_.find(services.codePage.ToUpper(path));
    return found == written_.end() ? std::nullopt : std::optional(found->second);
}

void UndoContext::Kept(const std::string& what) {
    services.log.Info("Kept: " + what);
    report_.kept.push_back(what);
}

void UndoContext::Failed(const std::string& what, OsResult error) {
    services.log.Failed(what, error);
    report_.notRemoved.push_back(what);
}

void UndoContext::RemoveFolder(const std::string& path) {
    const OsResult result = services.files.RemoveEmptyFolder(path);
    if (result == kOk)
        return services.log.Info("Removed the folder " + path);
    if (result == kErrFileNotFound || result == kErrPathNotFound)
        return;
    if (result == kErrDirNotEmpty)
        return Kept("the folder " + path + " holds files that are not the add-in's");
    Failed("remove the folder " + path, result);
}

bool UndoContext::HoldsProductFolder(const std::string& path) const {
    return IsInsideFolder(services.codePage, productDir, path, true);
}

void UndoContext::Restore(const std::string& path, const std::string& backup,
                          std::uint32_t attributes) {
    if (const OsResult result = PlaceCopy(services, backup, path); result != kOk)
        return Failed("restore " + path + " from " + backup, result);
    if (attributes != 0)
        services.files.SetAttributes(path, attributes);
    RemoveUnrecordedBackup(services.files, backup);
    services.log.Info("Restored " + path + " as it was before the installation");
}

void UndoContext::KeptOrNeverReplaced(const std::string& path, const std::string& backup,
                                      std::uint32_t attributes, const std::string& hash) {
    FileDigest saved;
    if (!backup.empty() && DigestFile(services.files, backup, saved) == kOk && saved.hash == hash) {
        // Its attributes, cleared for the copy, as they were.
        if (attributes != 0)
            services.files.SetAttributes(path, attributes);
        RemoveUnrecordedBackup(services.files, backup);
        return services.log.Info("Left " + path + ": it is as it was before the installation");
    }
    Kept(path + " was changed after the installation");
}

void UndoContext::RemoveFile(const std::string& path) {
    ClearReadOnly(services.files, path);
    const OsResult result = services.files.RemoveFile(path);
    if (result == kOk)
        return services.log.Info("Removed " + path);
    if (result != kErrFileNotFound && result != kErrPathNotFound)
        Failed("remove " + path, result);
}

bool UndoContext::IsOwnSettings(const std::string& path) {
    const std::optional<std::string> own = SettingsFolder(services.files);
    if (own && IsInsideFolder(services.codePage, path, *own, true))
        return true;
    services.log.Info("Left " + path + ": another account's settings, the user's own data");
    return false;
}

bool UndoContext::InAcadFolder(const std::string& path) {
    if (!acadFolders_) {
        CAcadReleaseCatalog catalog(services);
        catalog.DiscoverReleases();
        acadFolders_.emplace();
        for (const CStringList& locations : catalog.m_arrAcadLocations) {
            for (const std::string& location : locations)
                acadFolders_->push_back(services.codePage.ToUpper(
                    WithoutTrailingBackslash(services.codePage, location)));
        }
    }
    const std::string folder =
        services.codePage.ToUpper(AcadFolderOfSupportFile(services.codePage, path));
    for (const std::string& acad : *acadFolders_) {
        if (acad == folder)
            return true;
    }
    services.log.Info("Left " + path + ": not in the folder of an AutoCAD installed now");
    return false;
}

}  // namespace vk
