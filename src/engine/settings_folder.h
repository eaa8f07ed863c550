#pragma once
// The folder that receives the add-in's settings file.
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vk {

// %APPDATA%; when APPDATA is unset, empty or too long for a path, the
// shell's roaming application-data folder stands in for it. Nothing when
// neither gives a folder.
std::optional<std::string> AppDataFolder(IFileSystem& files);

// "%APPDATA%\Varnok", by the same rule.
std::optional<std::string> SettingsFolder(IFileSystem& files);

}  // namespace vk
