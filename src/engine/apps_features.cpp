#include "engine/apps_features.h"

#include <utility>

#include "acad/registry_access.h"
#include "core/reg_key.h"
#include "engine/install_paths.h"
#include "engine/journal/record.h"
#include "engine/machine_key.h"

namespace vk {
namespace {

constexpr const char* kDisplayName = "Varnok批打印软件";
constexpr const char* kPublisher = "Varnok";
constexpr std::uint32_t kSimplifiedChinese = 2052;  // the language of the interface (LCID)

}  // namespace

OsResult WriteAppsFeaturesEntry(const Services& services, const AppsFeaturesEntry& entry) {
    IRegistry& registry = services.registry;
    RegKey key(registry);
    if (const OsResult created = CreateMachineKey(services, kAppsFeaturesKey, key); created != kOk)
        return created;
    const std::string uninstaller = JoinPath(entry.productDir, kUninstallerFileName);
    const std::string uninstall = "\"" + uninstaller + "\" /UNINSTALL";
    const struct {
        const char* name;
        std::string text;
    } texts[] = {
        {"DisplayName", kDisplayName},
        {"DisplayVersion", entry.version},
        {"Publisher", kPublisher},
        {"InstallLocation", entry.productDir},
        {"DisplayIcon", uninstaller + ",0"},
        {"UninstallString", uninstall},
        {"QuietUninstallString", uninstall + " /VERYSILENT /SUPPRESSMSGBOXES"},
        {"InstallDate", entry.installDate},
    };
    OsResult first = kOk;
    const auto note = [&](const std::string& name, OsResult written) {
        if (written != kOk) {
            services.log.Failed("write " + name + " of the Apps & Features entry", written);
            if (first == kOk)
                first = written;
        }
    };
    for (const auto& text : texts) {
        note(text.name,
             registry.SetText(key.Get(), text.name, kRegSz, services.codePage.ToWide(text.text)));
    }
    note("EstimatedSize",
         registry.SetDword(key.Get(), "EstimatedSize", static_cast<std::uint32_t>(entry.sizeKb)));
    note("NoModify", registry.SetDword(key.Get(), "NoModify", 1));
    note("NoRepair", registry.SetDword(key.Get(), "NoRepair", 1));
    note("Language", registry.SetDword(key.Get(), "Language", kSimplifiedChinese));
    // "2023.5.26": major 2023, minor 5.
    const auto number = [&](std::size_t from) {
        std::uint32_t value = 0;
        for (; from < entry.version.size() && entry.version[from] >= '0' &&
               entry.version[from] <= '9';
             ++from) {
            value = value * 10 + static_cast<std::uint32_t>(entry.version[from] - '0');
        }
        return value;
    };
    const std::size_t dot = entry.version.find('.');
    note("VersionMajor", registry.SetDword(key.Get(), "VersionMajor", number(0)));
    note("VersionMinor", registry.SetDword(key.Get(), "VersionMinor",
                                           dot == std::string::npos ? 0 : number(dot + 1)));
    for (const auto& [name, link] :
         {std::pair<const char*, const std::string&>{"URLInfoAbout", entry.urlInfoAbout},
          {"HelpLink", entry.helpLink}}) {
        if (!link.empty())
            note(name, registry.SetText(key.Get(), name, kRegSz, services.codePage.ToWide(link)));
    }
    if (first == kOk)
        services.log.Info("Apps & Features entry HKLM\\" + std::string(kAppsFeaturesKey) +
                          " written");
    return first;
}

std::optional<std::string> InstalledProductDir(const Services& services) {
    IRegistry& registry = services.registry;
    RegKey machine(registry);
    RegKey key(registry);
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        key.OpenForRead(machine.Get(), kAppsFeaturesKey) != kOk) {
        return std::nullopt;
    }
    std::size_t size = 0;
    std::u16string location;
    std::uint32_t type = 0;
    if (registry.QueryTextSize(key.Get(), "InstallLocation", size) != kOk ||
        registry.QueryText(key.Get(), "InstallLocation", size, location, type) != kOk ||
        location.empty()) {
        return std::nullopt;
    }
    return services.codePage.ToAnsi(location);
}

OsResult RemoveAppsFeaturesEntry(const Services& services) {
    IRegistry& registry = services.registry;
    RegKey machine(registry);
    if (const OsResult result = machine.OpenRoot(RegRoot::LocalMachine); result != kOk)
        return result;
    const OsResult result = registry.DeleteKey(machine.Get(), kAppsFeaturesKey);
    return result == kErrFileNotFound ? kOk : result;
}

}  // namespace vk
