#include "engine/settings_folder.h"

#include "engine/data_files.h"
#include "engine/install_paths.h"

namespace vk {

std::optional<std::string> AppDataFolder(IFileSystem& files) {
    std::string base;
    if (files.GetEnvironmentVariable("APPDATA", base) != kOk || base.empty() ||
        !FitsMaxPath(base)) {
        if (files.GetRoamingAppDataFolder(base) != kOk || base.empty())
            return std::nullopt;
    }
    return base;
}

std::optional<std::string> SettingsFolder(IFileSystem& files) {
    if (std::optional<std::string> base = AppDataFolder(files))
        return JoinPath(*base, kSettingsFolderName);
    return std::nullopt;
}

}  // namespace vk
