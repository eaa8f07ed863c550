#pragma once
// Windows' Active Setup: a component registered below HKEY_LOCAL_MACHINE
// whose command Windows runs once per user, as that user, at the user's next
// logon, and again whenever the component's version rises. Its command is
// the per-user stub: the logon program in the product folder, which runs the
// uninstaller there with /USERSETUP.
// A user without an AutoCAD profile yet puts the same command into their
// own Run key, so that it comes back at each logon until it has done its work.
#include <string>

#include "platform/services.h"

namespace vk {

inline constexpr const char* kActiveSetupKey =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Varnok.BatchPlot";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Varnok.BatchPlot";
inline constexpr const char* kUserSetupSwitch = "/USERSETUP";

// "2023.5.26" as Active Setup's version: "2023,5,26,0" (four numbers;
// whatever is not a number counts 0).
std::string ActiveSetupVersion(const std::string& version);

// The version the component is written with next: the product's (never
// below the component's now), its last number one above the component's
// now (an installation's or an uninstall's), so that every user runs each
// new command once, in order. An empty `version`: the component's own.
std::string NextComponentVersion(const Services& services, const std::string& version);

// The stub's command line: the logon program in the product folder. The
// uninstaller asks for administrator rights, and Windows would refuse to
// start it for a standard user; the logon program, which asks for nothing,
// starts it with the user's rights as they are, and with no window.
std::string UserSetupCommand(const std::string& productDir);

// Writes the component anew (default value, Version, StubPath, IsInstalled);
// kOk or the first failure, logged.
OsResult WriteActiveSetup(const Services& services, const std::string& productDir,
                          const std::string& version);

// At the uninstall, for every user whose hive is loaded: the stub's Run
// entry and Windows' mark that the user was served go. kOk or the first
// failure, logged.
OsResult RemoveLoadedUsersStubEntries(const Services& services);

// At the uninstall, for every other user: the component becomes the
// removal, of `version` (NextComponentVersion, taken before the undo took
// the installation's component back), run once at each user's next logon,
// as them, by Windows' own PowerShell from System32 (RemovalScript),
// nothing else. kOk or the failure, logged.
OsResult WriteRemovalComponent(const Services& services, const std::string& productDir,
                               const std::string& version);

// What the removal does in the user's own registry: the stub's Run entry
// goes, and every AutoCAD profile's TRUSTEDPATHS loses the entries that
// name `productDir` (by the rule of TrustedPathsHold), every other entry
// kept in its order and the value in its type (%VARIABLES% unexpanded).
std::u16string RemovalScript(const std::u16string& productDir);

// The stub's entry in the Run key of the current user: set to `command`, or
// taken away; kOk when it is so (also when nothing had to change).
OsResult SetOwnRunEntry(const Services& services, const std::string& command);
OsResult RemoveOwnRunEntry(const Services& services);

}  // namespace vk
