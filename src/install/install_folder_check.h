#pragma once
// Whether a typed install folder may be installed into: the one check that
// the install page and the unattended /DIR make before anything changes.
#include <cstddef>
#include <string>

#include "platform/services.h"

namespace vk {

enum class FolderVerdict {
    Ok,
    Invalid,        // not an absolute drive path of valid folder names
    ListSeparator,  // holds ";": AutoCAD would trust its pieces (HoldsListSeparator)
    TooLong,        // the files installed below it would not fit the file system's paths
};

struct FolderCheck {
    FolderVerdict verdict = FolderVerdict::Invalid;
    std::string folder;     // the typed folder without its one trailing backslash
    std::size_t limit = 0;  // TooLong: the longest install folder allowed, in bytes
};

// `typed` as the user or /DIR gave it, not empty.
FolderCheck CheckInstallFolder(const Services& services, const std::string& typed);

}  // namespace vk
