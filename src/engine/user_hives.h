#pragma once
// The users whose own settings the installation reaches. Every user of the
// machine has a profile in the profile list; while the user is signed in (or
// a service of theirs runs) their registry hive is loaded as
// HKEY_USERS\<SID>. The per-user stub, run by the user, reaches its own
// settings through HKEY_CURRENT_USER and %APPDATA%.
#include <optional>
#include <string>
#include <vector>

#include "core/reg_key.h"
#include "platform/services.h"

namespace vk {

inline constexpr const char* kProfileListKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// Below a user's hive: where Windows keeps the user's folders.
inline constexpr const char* kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct UserHive {
    std::string sid;  // empty: the current user, through HKEY_CURRENT_USER
    // The user's roaming application-data folder; nothing when it cannot be told.
    std::optional<std::string> appData;

    // "HKU\<SID>" or "HKCU", for the log.
    std::string Name() const;
};

// Opens the hive's root: HKEY_CURRENT_USER, or HKEY_USERS\<SID> (kOk, or why not).
OsResult OpenUserHive(IRegistry& registry, const UserHive& hive, RegKey& key);

// The hive of every profile in the profile list that is loaded now, in the
// list's order; SYSTEM's, LOCAL SERVICE's and NETWORK SERVICE's are left
// out (no AutoCAD user has them), and so is any name that is not a user's
// SID. Each one left out is logged.
std::vector<UserHive> LoadedUserHives(const Services& services);

// The user this process runs as, with %APPDATA% (or the shell's folder).
UserHive CurrentUserHive(const Services& services);

// `text` with every %NAME% replaced: USERPROFILE by `profileDir`, the
// variables that only the user's own session holds left unresolved, any
// other from this process's environment. Nothing when one stays unresolved.
std::optional<std::string> ExpandForUser(const Services& services, const std::string& text,
                                         const std::string& profileDir);

}  // namespace vk
