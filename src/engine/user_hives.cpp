#include "engine/user_hives.h"

#include <array>

#include "acad/registry_access.h"
#include "engine/install_paths.h"
#include "engine/settings_folder.h"

namespace vk {
namespace {

// Accounts of the system, whose profiles belong to no AutoCAD user.
constexpr std::array<const char*, 3> kServiceSids = {"S-1-5-18", "S-1-5-19", "S-1-5-20"};
// Set only in the user's own session: this process's values would be another's.
constexpr std::array<const char*, 8> kSessionVariables = {
    "APPDATA", "LOCALAPPDATA", "HOMEDRIVE", "HOMEPATH", "USERNAME", "USERDOMAIN", "TEMP", "TMP"};

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A text value of any size, as ANSI text; nothing when absent, not a text,
// or holding a character the code page lacks.
std::optional<std::string> ReadText(const Services& services, RegHandle key,
                                    const std::string& name) {
    std::size_t size = 0;
    std::u16string text;
    std::uint32_t type = 0;
    if (services.registry.QueryTextSize(key, name, size) != kOk ||
        services.registry.QueryText(key, name, size, text, type) != kOk ||
        (type != kRegSz && type != kRegExpandSz) || text.empty()) {
        return std::nullopt;
    }
    std::string ansi = services.codePage.ToAnsi(text);
    if (services.codePage.ToWide(ansi) != text)
        return std::nullopt;
    return ansi;
}

std::optional<std::string> ReadTextAt(const Services& services, RegHandle parent,
                                      const std::string& path, const std::string& name) {
    RegKey key(services.registry);
    if (key.OpenForRead(parent, path) != kOk)
        return std::nullopt;
    return ReadText(services, key.Get(), name);
}

// "D:\..." or a redirected folder's "\\server\share\...".
bool IsAbsoluteFolder(const std::string& path) {
    const bool onDrive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    return (onDrive || path.starts_with("\\\\")) && FitsMaxPath(path);
}

// The user's roaming application-data folder, as their own session would
// have it: User Shell Folders, expanded for them, else Shell Folders.
std::optional<std::string> AppDataOf(const Services& services, RegHandle hive,
                                     const std::string& profileDir) {
    if (const std::optional<std::string> raw =
            ReadTextAt(services, hive, kUserShellFoldersKey, "AppData")) {
        std::optional<std::string> expanded = ExpandForUser(services, *raw, profileDir);
        if (expanded && IsAbsoluteFolder(*expanded))
            return expanded;
    }
    std::optional<std::string> plain = ReadTextAt(services, hive, kShellFoldersKey, "AppData");
    if (plain && IsAbsoluteFolder(*plain))
        return plain;
    return std::nullopt;
}

bool IsUserSid(const std::string& name) {
    if (!name.starts_with("S-1-5-") || name.find('_') != std::string::npos ||
        name.find('.') != std::string::npos) {
        return false;  // ".DEFAULT", "<SID>_Classes", "<SID>.bak"
    }
    for (const char* service : kServiceSids) {
        if (name == service)
            return false;
    }
    return true;
}

}  // namespace

std::string UserHive::Name() const {
    return sid.empty() ? std::string("HKCU") : "HKU\\" + sid;
}

OsResult OpenUserHive(IRegistry& registry, const UserHive& hive, RegKey& key) {
    if (hive.sid.empty())
        return key.OpenRoot(RegRoot::CurrentUser);
    RegKey users(registry);
    if (const OsResult result = users.OpenRoot(RegRoot::Users); result != kOk)
        return result;
    return key.Open(users.Get(), hive.sid);
}

std::optional<std::string> ExpandForUser(const Services& services, const std::string& text,
                                         const std::string& profileDir) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close =
            open == std::string::npos ? std::string::npos : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        const std::string name = Upper(text.substr(open + 1, close - open - 1));
        std::string value;
        if (name == "USERPROFILE") {
            value = profileDir;
        } else {
            for (const char* session : kSessionVariables) {
                if (name == session)
                    return std::nullopt;
            }
            if (services.files.GetEnvironmentVariable(name, value) != kOk || value.empty())
                return std::nullopt;
        }
        out += value;
        at = close + 1;
    }
    return out;
}

std::vector<UserHive> LoadedUserHives(const Services& services) {
    std::vector<UserHive> hives;
    IRegistry& registry = services.registry;
    RegKey machine(registry);
    RegKey profiles(registry);
    RegKey users(registry);
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        profiles.OpenForRead(machine.Get(), kProfileListKey) != kOk ||
        users.OpenRoot(RegRoot::Users) != kOk) {
        services.log.Info("No profile list: no user's settings are reached");
        return hives;
    }
    ForEachSubkeyName(registry, profiles.Get(), [&](const std::string& sid) {
        if (!IsUserSid(sid)) {
            services.log.Skipped("the profile " + sid + ": not an AutoCAD user's");
            return;
        }
        RegKey hive(registry);
        if (hive.OpenForRead(users.Get(), sid) != kOk) {
            services.log.Info("The profile " + sid +
                              " is not loaded (the user is not signed in): left to its logon");
            return;
        }
        UserHive user{sid, std::nullopt};
        const std::optional<std::string> image =
            ReadTextAt(services, profiles.Get(), sid, "ProfileImagePath");
        const std::optional<std::string> profileDir =
            image ? ExpandForUser(services, *image, "") : std::nullopt;
        user.appData = AppDataOf(services, hive.Get(), profileDir.value_or(""));
        hives.push_back(user);
    });
    return hives;
}

UserHive CurrentUserHive(const Services& services) {
    return UserHive{"", AppDataFolder(services.files)};
}

}  // namespace vk
