#pragma once
// The add-in's entry in Windows' Apps & Features (Programs and Features):
// the uninstall key below HKEY_LOCAL_MACHINE, 64-bit view, under a fixed
// ASCII name that deployment tools' detection rules can name. Its texts are
// written with the wide registry functions, so the Chinese name reads right
// whatever the system's language.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/package_links.h"
#include "platform/services.h"

namespace vk {

inline constexpr const char* kAppsFeaturesKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnokBatchPlot";

struct AppsFeaturesEntry {
    std::string productDir;    // InstallLocation
    std::string version;       // DisplayVersion, e.g. "2023.5.26"
    std::string installDate;   // YYYYMMDD
    std::uint64_t sizeKb = 0;  // EstimatedSize
    // URLInfoAbout and HelpLink; each left out when empty.
    std::string urlInfoAbout = kPackageUrlInfoAbout;
    std::string helpLink = kPackageHelpLink;
};

// Writes the whole key anew, with Language 2052 (Simplified Chinese) and
// VersionMajor and VersionMinor of `version`. kOk, or the first failure (logged).
OsResult WriteAppsFeaturesEntry(const Services& services, const AppsFeaturesEntry& entry);

// The product folder of an earlier installation (its InstallLocation), if any.
std::optional<std::string> InstalledProductDir(const Services& services);

// Removes the key. kOk also when there is none.
OsResult RemoveAppsFeaturesEntry(const Services& services);

}  // namespace vk
