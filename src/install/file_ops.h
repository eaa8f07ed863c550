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

}  // namespace vk
