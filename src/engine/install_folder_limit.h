#pragma once
// How long the install folder may be. Every path the installation writes
// into it, "<folder>\<name>", must fit the file system's 259 bytes; so the
// limit follows from the longest name it will write there, found when asked.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/services.h"

namespace vk {

// The longest install folder (the product folder included), in bytes, for
// which every such path fits. The names: the files of "Data" as they are
// deployed into the folder (libraries under their own names), and the
// modules the demand-load keys name there.
std::size_t MaxInstallFolderBytes(const Services& services);

// That limit, when `installFolder` (the product folder included) is longer;
// nothing when it fits. Whoever refuses the folder names the limit.
std::optional<std::size_t> InstallFolderOverLimit(const Services& services,
                                                  const std::string& installFolder);

}  // namespace vk
