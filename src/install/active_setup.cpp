#include "install/active_setup.h"

#include "core/reg_key.h"
#include "install/install_paths.h"
#include "install/install_record.h"
#include "install/machine_key.h"
#include "install/user_hives.h"

namespace vk {
namespace {

constexpr const char* kComponentName = "Varnok批打印软件";
// Where Windows marks, in a user's hive, the version the user was served.
constexpr const char* kUserMarkKey =
    "Software\\Microsoft\\Active Setup\\Installed Components\\Varnok.BatchPlot";

OsResult DeleteRunEntry(IRegistry& registry, RegHandle hive) {
    RegKey run(registry);
    const OsResult opened = run.Open(hive, kRunKey);
    if (opened == kErrFileNotFound)
        return kOk;
    if (opened != kOk)
        return opened;
    const OsResult deleted = registry.DeleteValue(run.Get(), kRunValueName);
    return deleted == kErrFileNotFound ? kOk : deleted;
}

}  // namespace

std::string ActiveSetupVersion(const std::string& version) {
    std::string out;
    std::string number;
    int parts = 0;
    const auto flush = [&] {
        const bool sound = !number.empty() && number.size() <= 5 &&
                           number.find_first_not_of("0123456789") == std::string::npos;
        if (parts > 0)
            out += ',';
        out += sound ? number : std::string("0");
        number.clear();
        ++parts;
    };
    for (const char c : version) {
        if (c != '.') {
            number += c;
        } else if (parts < 3) {
            flush();
        } else {
            break;
        }
    }
    while (parts < 4)
        flush();
    return out;
}

std::string UserSetupCommand(const Services& services, const std::string& productDir) {
    std::string systemRoot;
    if (services.files.GetEnvironmentVariable("SystemRoot", systemRoot) != kOk ||
        systemRoot.empty())
        systemRoot = "C:\\Windows";
    std::string command = "\"";
    command += JoinPath(systemRoot, "System32\\cmd.exe");
    command += "\" /d /s /c \"set __COMPAT_LAYER=RunAsInvoker&& \"";
    command += JoinPath(productDir, kUninstallerFileName);
    command += "\" ";
    command += kUserSetupSwitch;
    command += "\"";
    return command;
}

OsResult WriteActiveSetup(const Services& services, const std::string& productDir,
                          const std::string& version) {
    IRegistry& registry = services.registry;
    RegKey key(registry);
    OsResult result = CreateMachineKey(services, kActiveSetupKey, key);
    if (result != kOk)
        return result;
    const struct {
        const char* name;
        std::string text;
    } texts[] = {
        {"", kComponentName},
        {"Version", ActiveSetupVersion(version)},
        {"StubPath", UserSetupCommand(services, productDir)},
    };
    for (const auto& text : texts) {
        result =
            registry.SetText(key.Get(), text.name, kRegSz, services.codePage.ToWide(text.text));
        if (result != kOk)
            break;
    }
    if (result == kOk)
        result = registry.SetDword(key.Get(), "IsInstalled", 1);
    if (result != kOk) {
        services.log.Failed("write HKLM\\" + std::string(kActiveSetupKey), result);
        return result;
    }
    services.log.Info("Active Setup component HKLM\\" + std::string(kActiveSetupKey) +
                      " written: users who sign in later get the per-user steps");
    return kOk;
}

OsResult RemoveActiveSetup(const Services& services) {
    IRegistry& registry = services.registry;
    OsResult first = kOk;
    for (const UserHive& user : LoadedUserHives(services)) {
        RegKey hive(registry);
        OsResult result = OpenUserHive(registry, user, hive);
        if (result == kOk)
            result = DeleteRunEntry(registry, hive.Get());
        // Windows' mark that the user was served: without it an installation
        // after this one serves the user again, whose entries go now.
        if (result == kOk) {
            result = registry.DeleteKey(hive.Get(), kUserMarkKey);
            result = result == kErrFileNotFound ? kOk : result;
        }
        if (result != kOk) {
            services.log.Failed("remove the Run entry and the Active Setup mark of " + user.Name(),
                                result);
            first = first == kOk ? result : first;
        }
    }
    RegKey machine(registry);
    OsResult result = machine.OpenRoot(RegRoot::LocalMachine);
    if (result == kOk)
        result = registry.DeleteKey(machine.Get(), kActiveSetupKey);
    if (result != kOk && result != kErrFileNotFound) {
        services.log.Failed("remove HKLM\\" + std::string(kActiveSetupKey), result);
        return first == kOk ? result : first;
    }
    return first;
}

OsResult SetOwnRunEntry(const Services& services, const std::string& command) {
    IRegistry& registry = services.registry;
    RegKey user(registry);
    RegKey run(registry);
    OsResult result = user.OpenRoot(RegRoot::CurrentUser);
    if (result == kOk)
        result = run.Create(user.Get(), kRunKey);
    if (result == kOk)
        result =
            registry.SetText(run.Get(), kRunValueName, kRegSz, services.codePage.ToWide(command));
    return result;
}

OsResult RemoveOwnRunEntry(const Services& services) {
    RegKey user(services.registry);
    const OsResult result = user.OpenRoot(RegRoot::CurrentUser);
    return result == kOk ? DeleteRunEntry(services.registry, user.Get()) : result;
}

}  // namespace vk
