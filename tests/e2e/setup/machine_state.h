#pragma once
// What SetUp.exe may change on the machine, captured before a run so that a test can show
// that a run changed nothing: the AutoCAD keys of both registry views and of the user
// (demand-load keys, trusted paths), the default install folder and the settings folder.
#include <string>

#include "e2e/driver/registry_snapshot.h"

namespace vk::e2e::setup {

struct MachineState {
    RegistrySnapshot machineKeys;  // HKLM\SOFTWARE\Autodesk
    RegistrySnapshot wowKeys;      // HKLM\SOFTWARE\Wow6432Node\Autodesk
    RegistrySnapshot userKeys;     // HKCU\Software\Autodesk
    bool installFolder = false;    // C:\Varnok
    bool settingsFolder = false;   // %APPDATA%\Varnok

    static MachineState capture();
    bool operator==(const MachineState&) const = default;
    std::string describe() const;  // UTF-8, for EXPECT_EQ diffs
};

inline constexpr const char* kDefaultInstallFolder = "C:\\Varnok";
std::string settingsFolder();  // %APPDATA%\Varnok

// Every demand-load key of the add-in (Applications\VK_BatchPlot<year>) in either view.
std::vector<std::string> demandLoadKeys();

}  // namespace vk::e2e::setup
