#pragma once
// Whether a typed install folder may be installed into: the one check that
// the install page and the unattended /DIR make before anything changes.
#include <cstddef>
#include <string>

#include "engine/install_path_safety.h"
#include "platform/services.h"

namespace vk {

enum class FolderVerdict {
    Ok,
    Invalid,        // not an absolute drive path of valid folder names
    ListSeparator,  // holds ";": AutoCAD would trust its pieces (HoldsListSeparator)
    TooLong,        // the files installed below it would not fit the file system's paths
    Link,           // a folder of the path, the product folder included, is a link (linked)
    Replaceable,    // a standard user could replace a folder above the product folder
};

struct FolderCheck {
    FolderVerdict verdict = FolderVerdict::Invalid;
    std::string folder;             // the typed folder without its one trailing backslash
    std::size_t limit = 0;          // TooLong: the longest install folder allowed, in bytes
    std::string linked;             // Link: the folder that is a link
    ReplaceableFolder replaceable;  // Replaceable: which folder, and why
};

// `typed` as the user or /DIR gave it, not empty. The verdicts in their
// order: the path's text first, then what exists on the disk (a link is
// refused before rights are judged). Reads only; nothing is created.
FolderCheck CheckInstallFolder(const Services& services, const std::string& typed);

}  // namespace vk
