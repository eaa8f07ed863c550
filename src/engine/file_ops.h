#pragma once
// The small file operations that deployment and the support files share.
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/services.h"

namespace vk {

// What GetPathKind finds at a path.
inline constexpr int kPathMissing = 0;
inline constexpr int kPathFile = 1;
inline constexpr int kPathFolder = 2;

// The "Data" folder beside the running setup program.
std::string GetSetupDataFolder(const Services& services);

// kPathMissing, kPathFile or kPathFolder, from the entry a find of `path` gives.
int GetPathKind(IFileSystem& files, const std::string& path);

// The size and the hash (as the installation record keeps it) of a file,
// read in pieces.
struct FileDigest {
    std::uint64_t size = 0;
    std::string hash;
};
OsResult DigestFile(IFileSystem& files, const std::string& path, FileDigest& digest);

// Removes the read-only attribute of `path` if it is set; other attributes stay.
void ClearReadOnly(IFileSystem& files, const std::string& path);

// A backup made for a record line that could not be written: nothing would
// ever take it away again.
void RemoveUnrecordedBackup(IFileSystem& files, const std::string& backup);

// The name a copy is written under before it takes its destination's place.
inline constexpr const char* kCopyInProgressName = "~Varnok.tmp";

// Copies `source` to `destination` by name: into a new file of its own
// beside the destination (kCopyInProgressName, made only where nothing is),
// in one pass that also hashes what it writes (into `written`, when given),
// which then takes the destination's place. Whatever was at the destination
// (a file, a hard or symbolic link another account put there) is replaced as
// a name, never written into, and a copy cut short never carries the
// destination's name. The copy has the source's attributes, but for the
// read-only one unless `keepAttributes` (a file put back as it was). kOk or
// the failure, with nothing left behind.
OsResult PlaceCopy(const Services& services, const std::string& source,
                   const std::string& destination, bool keepAttributes = false,
                   FileDigest* written = nullptr);

// Writes `bytes` as the file `destination`, by the same way as PlaceCopy
// (a new file beside it, which then takes its name).
OsResult PlaceBytes(const Services& services, const std::string& bytes,
                    const std::string& destination, FileDigest* written = nullptr);

}  // namespace vk
