#pragma once
// Demand-load registration: what a product's application key holds.
#include <cstddef>
#include <string>

namespace vk {

// Longest install folder, in bytes, whose "LOADER" path ("<folder>\VK_BatchPlot<nnnn>.ARX")
// still fits the file system's 259 bytes. A longer folder is never registered,
// so the install page refuses it before anything changes.
inline constexpr std::size_t kMaxLoaderFolderBytes = 238;

inline bool InstallFolderFitsLoader(const std::string& folder) {
    return folder.size() <= kMaxLoaderFolderBytes;
}

// The module file number that serves release `year`, from the release table; 0
// for a year the table does not hold.
int ModuleNumberForYear(int year);

// "VK_BatchPlot<module>.ARX", the module file that serves release `year`.
std::string ModuleFileName(int year);

// "Applications\VK_BatchPlot<year>", below a product key.
std::string ApplicationKeyName(int year);

// "<folder>\VK_BatchPlot<module>.ARX".
std::string LoaderPath(const std::string& installDir, int year);

}  // namespace vk
