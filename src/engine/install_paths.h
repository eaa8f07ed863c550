#pragma once
// Paths the installation composes. They are built as strings of any length;
// one that the ANSI file functions could not take is refused before the
// operation, which then fails as it would for any other reason.
#include <string>

#include "platform/os_error.h"

namespace vk {

// Longest path, in bytes, that the file system takes (MAX_PATH without its NUL).
inline constexpr std::size_t kMaxPathBytes = kMaxPath - 1;

inline bool FitsMaxPath(const std::string& path) {
    return path.size() <= kMaxPathBytes;
}

// "%s\%s": `folder` followed by a backslash and `name`.
inline std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + '\\' + name;
}

}  // namespace vk
