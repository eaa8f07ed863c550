#include "e2e/setup/machine_state.h"

#include <windows.h>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/files.h"
#include "e2e/driver/registry.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kMachineKeys = "SOFTWARE\\Autodesk";
constexpr const char* kWowKeys = "SOFTWARE\\Wow6432Node\\Autodesk";
constexpr const char* kUserKeys = "Software\\Autodesk";

std::string yesNo(bool value) {
    return value ? "exists" : "absent";
}

}  // namespace

MachineState MachineState::capture() {
    MachineState state;
    state.machineKeys = RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, kMachineKeys);
    state.wowKeys = RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, kWowKeys);
    state.userKeys = RegistrySnapshot::capture(HKEY_CURRENT_USER, kUserKeys);
    state.installFolder = pathExists(kDefaultInstallFolder);
    state.settingsFolder = pathExists(setup::settingsFolder());
    return state;
}

std::string MachineState::describe() const {
    std::string text = machineKeys.describe();
    text += wowKeys.describe();
    text += userKeys.describe();
    text += "C:\\Varnok ";
    text += yesNo(installFolder);
    text += "\n%APPDATA%\\Varnok ";
    text += yesNo(settingsFolder);
    text += '\n';
    return text;
}

std::string settingsFolder() {
    const DWORD size = GetEnvironmentVariableA("APPDATA", nullptr, 0);
    std::string folder(size, '\0');
    const DWORD length = GetEnvironmentVariableA("APPDATA", folder.data(), size);
    if (size == 0 || length >= size)
        throw DriverError("APPDATA is not set");
    folder.resize(length);
    return joinPath(folder, "Varnok");
}

std::vector<std::string> demandLoadKeys() {
    const auto isAddIn = [](const std::string& name) {
        return name.size() >= 12 && lstrcmpiA(name.substr(0, 12).c_str(), "VK_BatchPlot") == 0;
    };
    std::vector<std::string> keys = findRegistryKeys(HKEY_LOCAL_MACHINE, kMachineKeys, isAddIn);
    for (std::string& key : findRegistryKeys(HKEY_LOCAL_MACHINE, kWowKeys, isAddIn)) {
        keys.push_back(std::move(key));
    }
    return keys;
}

}  // namespace vk::e2e::setup
