#include "engine/changes/file_placed.h"

#include "core/mbcs.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"
#include "engine/journal/record_scope.h"

namespace vk {
namespace {

bool Exists(IFileSystem& files, const std::string& path) {
    return !path.empty() && files.GetAttributes(path) != kInvalidAttributes;
}

// What an interrupted copy may have left beside its destination.
void RemovePendingCopy(UndoContext& context, const std::string& path) {
    const std::size_t slash = FindLastChar(context.services.codePage, path, '\\');
    if (slash == kNoPos)
        return;
    const std::string pending = JoinPath(path.substr(0, slash), kCopyInProgressName);
    if (Exists(context.services.files, pending))
        context.RemoveFile(pending);
}

}  // namespace

void UndoPlacedFile(UndoContext& context, const std::string& path, const std::string& backup,
                    std::uint32_t attributes, bool leaveIfNoBackup) {
    IFileSystem& files = context.services.files;
    if (context.interrupted) {
        RemovePendingCopy(context, path);
        // A backup is made before its copy: without one, the file was never touched.
        if (!backup.empty()) {
            if (Exists(files, backup))
                context.Restore(path, backup, attributes);
        } else if (!leaveIfNoBackup && Exists(files, path)) {
            context.RemoveFile(path);
        }
        return;
    }
    FileDigest found;
    const OsResult read = DigestFile(files, path, found);
    if (read == kErrFileNotFound || read == kErrPathNotFound) {
        // Ours is gone already; what it replaced comes back all the same.
        if (Exists(files, backup))
            context.Restore(path, backup, attributes);
        return;
    }
    if (read != kOk)
        return context.Failed("check " + path, read);
    const std::optional<WrittenContent> wrote = context.WrittenInto(path);
    if (!wrote || found.hash != wrote->hash)
        return context.KeptOrNeverReplaced(path, backup, attributes, found.hash);
    if (!backup.empty())
        return context.Restore(path, backup, attributes);
    if (leaveIfNoBackup)
        return context.services.log.Info("Left " + path + ": a file of that name was there before");
    context.RemoveFile(path);
}

void FilePlaced::Undo(UndoContext& context) const {
    if (IsInsideFolder(context.services.codePage, path, context.productDir) ||
        context.IsOwnSettings(path)) {
        UndoPlacedFile(context, path, backup, attributes, false);
    }
}

}  // namespace vk
