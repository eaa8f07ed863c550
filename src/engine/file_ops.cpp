#include "engine/file_ops.h"

#include "core/digest.h"
#include "core/mbcs.h"
#include "engine/find_scope.h"
#include "engine/install_paths.h"

namespace vk {

std::string GetSetupDataFolder(const Services& services) {
    std::string module;
    services.files.GetModulePath(
        module);  // a module path always has a folder; failure leaves it empty
    const std::size_t lastSeparator = FindLastChar(services.codePage, module, '\\');
    const std::string folder =
        lastSeparator == kNoPos ? std::string() : module.substr(0, lastSeparator);
    return JoinPath(folder, "Data");
}

int GetPathKind(IFileSystem& files, const std::string& path) {
    if (!FitsMaxPath(path))
        return kPathMissing;
    FindScope find(files);
    FindEntry entry;
    if (find.First(path, entry) != kOk)
        return kPathMissing;
    return (entry.attributes & kAttrDirectory) ? kPathFolder : kPathFile;
}

void ClearReadOnly(IFileSystem& files, const std::string& path) {
    if (!FitsMaxPath(path))
        return;
    const std::uint32_t attributes = files.GetAttributes(path);
    if (attributes != kInvalidAttributes && (attributes & kAttrReadOnly)) {
        files.SetAttributes(path, attributes & ~kAttrReadOnly);
    }
}

void RemoveUnrecordedBackup(IFileSystem& files, const std::string& backup) {
    ClearReadOnly(files, backup);
    files.RemoveFile(backup);
}

namespace {

// The name a placed file is written under first, beside `destination`, with
// whatever had that name gone; empty when either path is too long.
std::string ClearedPendingName(const Services& services, const std::string& destination) {
    const std::size_t slash = FindLastChar(services.codePage, destination, '\\');
    const std::string folder = slash == kNoPos ? std::string() : destination.substr(0, slash);
    std::string pending = JoinPath(folder, kCopyInProgressName);
    if (!FitsMaxPath(pending) || !FitsMaxPath(destination))
        return {};
    // One left by a run cut short, or put there by someone else: its name goes.
    ClearReadOnly(services.files, pending);
    services.files.RemoveFile(pending);
    return pending;
}

// The written file takes the destination's name; on a failure it goes.
OsResult TakeDestinationsPlace(IFileSystem& files, const std::string& pending,
                               const std::string& destination) {
    ClearReadOnly(files, destination);
    const OsResult result = files.MoveReplacing(pending, destination);
    if (result != kOk) {
        ClearReadOnly(files, pending);
        files.RemoveFile(pending);
    }
    return result;
}

}  // namespace

OsResult PlaceCopy(const Services& services, const std::string& source,
                   const std::string& destination, bool keepAttributes, FileDigest* written) {
    IFileSystem& files = services.files;
    const std::string pending = ClearedPendingName(services, destination);
    if (pending.empty())
        return kErrFilenameTooLong;
    Xxh64Stream hash;
    std::uint64_t size = 0;
    OsResult result = files.CopyToNewFile(source, pending, [&](std::string_view piece) {
        hash.Update(piece);
        size += piece.size();
    });
    if (result != kOk)
        return result;
    // As a copy of the file gets them: the source's, with the archive flag.
    std::uint32_t attributes = files.GetAttributes(source);
    if (attributes != kInvalidAttributes && !keepAttributes)
        attributes &= ~kAttrReadOnly;
    if (attributes != kInvalidAttributes && (attributes & ~(kAttrArchive | kAttrNormal)) != 0)
        files.SetAttributes(pending, (attributes & ~kAttrNormal) | kAttrArchive);
    result = TakeDestinationsPlace(files, pending, destination);
    if (result == kOk && written != nullptr)
        *written = {size, NumberHex(hash.Digest(), 16)};
    return result;
}

OsResult PlaceBytes(const Services& services, const std::string& bytes,
                    const std::string& destination, FileDigest* written) {
    const std::string pending = ClearedPendingName(services, destination);
    if (pending.empty())
        return kErrFilenameTooLong;
    if (const OsResult result = services.files.AppendToFile(pending, bytes); result != kOk) {
        services.files.RemoveFile(pending);
        return result;
    }
    const OsResult result = TakeDestinationsPlace(services.files, pending, destination);
    if (result == kOk && written != nullptr) {
        Xxh64Stream hash;
        hash.Update(bytes);
        *written = {bytes.size(), NumberHex(hash.Digest(), 16)};
    }
    return result;
}

OsResult DigestFile(IFileSystem& files, const std::string& path, FileDigest& digest) {
    Xxh64Stream stream;
    std::uint64_t size = 0;
    const OsResult read = files.ReadInPieces(path, [&](std::string_view piece) {
        stream.Update(piece);
        size += piece.size();
    });
    if (read != kOk)
        return read;
    digest = {size, NumberHex(stream.Digest(), 16)};
    return kOk;
}

}  // namespace vk
