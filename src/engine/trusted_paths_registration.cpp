// Adds the install folder to "TRUSTEDPATHS" in every AutoCAD profile of one
// user (the current one, or another's loaded hive), whatever releases were
// selected or found. Every key path is collected before the first value
// changes. Failures skip the key concerned;
// a list that cannot be read whole, or is stored as neither REG_SZ nor
// REG_EXPAND_SZ, is never overwritten. Each profile's fate goes into the
// log; the wizard shows nothing.
#include "engine/trusted_paths_registration.h"
#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "core/reg_key.h"
#include "engine/journal/record.h"
#include "engine/trusted_paths.h"

namespace {

const std::string kAutocadKey = "SOFTWARE\\Autodesk\\AutoCAD";
constexpr const char* kTrustedPathsValue = "TRUSTEDPATHS";
// A value that keeps growing between its size and its read is given up on.
constexpr int kReadAttempts = 4;

std::string Below(const vk::ICodePage& cp, const std::string& path, const char* leaf) {
    return vk::WithoutTrailingBackslash(cp, path) + '\\' + leaf;
}

// "...\<release>\<product>\Profiles" for every readable product of every
// readable release.
std::vector<std::string> ProfilesKeys(const vk::Services& services, const vk::UserHive& hive) {
    std::vector<std::string> paths;
    vk::IRegistry& registry = services.registry;
    vk::RegKey user(registry);
    vk::RegKey autocad(registry);
    if (vk::OpenUserHive(registry, hive, user) != vk::kOk ||
        autocad.OpenForRead(user.Get(), kAutocadKey) != vk::kOk) {
        return paths;
    }
    vk::ForEachSubkeyName(registry, autocad.Get(), [&](const std::string& release) {
        vk::RegKey releaseKey(registry);
        if (releaseKey.OpenForRead(autocad.Get(), release) != vk::kOk)
            return;
        std::vector<std::string> products;
        vk::ListReadableSubkeys(registry, releaseKey.Get(), products);
        for (const std::string& product : products) {
            paths.push_back(Below(services.codePage, kAutocadKey + '\\' + release + '\\' + product,
                                  "Profiles"));
        }
    });
    return paths;
}

// "...\Profiles\<profile>\Variables" for every readable profile.
std::vector<std::string> VariablesKeys(const vk::Services& services, const vk::UserHive& hive,
                                       const std::vector<std::string>& profilesKeys) {
    std::vector<std::string> paths;
    vk::IRegistry& registry = services.registry;
    vk::RegKey user(registry);
    if (vk::OpenUserHive(registry, hive, user) != vk::kOk)
        return paths;
    for (const std::string& profilesPath : profilesKeys) {
        vk::RegKey profiles(registry);
        if (profiles.OpenForRead(user.Get(), profilesPath) != vk::kOk)
            continue;
        std::vector<std::string> names;
        vk::ListReadableSubkeys(registry, profiles.Get(), names);
        for (const std::string& name : names) {
            paths.push_back(Below(services.codePage, profilesPath + '\\' + name, "Variables"));
        }
    }
    return paths;
}

enum class OldList { Read, Absent, Unreadable, OtherType };

// The whole stored list, whatever its size, through the wide functions so
// that no character is lost, with its type. Absent: no key or no value.
OldList ReadOldList(vk::IRegistry& registry, vk::RegHandle user, const std::string& path,
                    std::u16string& list, std::uint32_t& type, bool& keyExists) {
    list.clear();
    vk::RegKey key(registry);
    const vk::OsResult opened = key.Open(user, path);
    keyExists = opened != vk::kErrFileNotFound;
    if (opened == vk::kErrFileNotFound)
        return OldList::Absent;
    if (opened != vk::kOk)
        return OldList::Unreadable;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::size_t size = 0;
        vk::OsResult result = registry.QueryTextSize(key.Get(), kTrustedPathsValue, size);
        if (result == vk::kErrFileNotFound)
            return OldList::Absent;
        if (result != vk::kOk)
            return OldList::Unreadable;
        result = registry.QueryText(key.Get(), kTrustedPathsValue, size, list, type);
        if (result == vk::kErrMoreData)
            continue;  // it grew since its size was asked
        if (result == vk::kErrFileNotFound)
            return OldList::Absent;
        if (result != vk::kOk)
            return OldList::Unreadable;
        return type == vk::kRegSz || type == vk::kRegExpandSz ? OldList::Read : OldList::OtherType;
    }
    return OldList::Unreadable;
}

}  // namespace

void CAcadReleaseCatalog::RegisterTrustedPaths() {
    vk::RegisterTrustedPathsFor(Services(), vk::UserHive{}, m_strInstallDir, m_pRecord);
}

std::size_t vk::RegisterTrustedPathsFor(const Services& services, const UserHive& hive,
                                        const std::string& installDir, RecordWriter* record,
                                        ListHoldingIt holding) {
    if (installDir.empty())
        return 0;  // no folder to trust
    vk::Log& log = services.log;
    const std::vector<std::string> variablesKeys =
        VariablesKeys(services, hive, ProfilesKeys(services, hive));
    if (variablesKeys.empty())
        log.Info("Trusted paths: " + hive.Name() + " has no AutoCAD profile");
    const std::u16string folder = services.codePage.ToWide(installDir);
    // Written wide, so that an entry in a script the code page lacks (a
    // Korean folder on a Chinese system) reads in the log as it is stored.
    const auto quoted = [](const std::u16string& list) { return u"\"" + list + u"\""; };

    vk::IRegistry& registry = services.registry;
    vk::RegKey user(registry);
    if (variablesKeys.empty())
        return 0;
    if (const vk::OsResult result = vk::OpenUserHive(registry, hive, user); result != vk::kOk) {
        log.Failed("open " + hive.Name() + " for the trusted paths", result);
        return variablesKeys.size();
    }
    for (const std::string& path : variablesKeys) {
        const std::string where = "TRUSTEDPATHS in " + hive.Name() + "\\" + path;
        std::u16string oldList;
        std::uint32_t type = vk::kRegSz;
        bool keyExists = true;
        const OldList old = ReadOldList(registry, user.Get(), path, oldList, type, keyExists);
        if (old == OldList::Unreadable) {
            log.Failed("read " + where + " whole; left as it is", vk::kErrInvalidParameter);
            continue;
        }
        if (old == OldList::OtherType) {
            log.Failed(where + " is stored as type " + std::to_string(type) +
                           ", not as text; left as it is",
                       vk::kErrUnsupportedType);
            continue;
        }
        if (old == OldList::Absent)
            type = vk::kRegSz;
        if (holding == ListHoldingIt::Left && old == OldList::Read &&
            vk::TrustedPathsHold(oldList, folder, services.codePage)) {
            log.Info(where + " holds " + installDir + " already; left as it is");
            continue;
        }
        // Written back in the type it had, so %VARIABLES% stay unexpanded.
        const std::u16string newList = vk::ComposeTrustedPaths(oldList, folder, services.codePage);
        // Entered before it is written; a list that stays as it was changes nothing.
        if (record != nullptr && !(old == OldList::Read && newList == oldList)) {
            vk::TrustedPathsWritten entry{
                hive.sid,   path,         installDir,
                !keyExists, std::nullopt, {kTrustedPathsValue, type, vk::WideTextBytes(newList)}};
            if (old == OldList::Read)
                entry.before =
                    vk::RecordedValue{kTrustedPathsValue, type, vk::WideTextBytes(oldList)};
            if (const vk::OsResult entered = record->Add(entry); entered != vk::kOk) {
                log.Failed("enter " + where + " in the installation record", entered);
                continue;
            }
        }
        vk::RegKey variables(registry);
        if (const vk::OsResult result = variables.Create(user.Get(), path); result != vk::kOk) {
            log.Failed("open or create the key of " + where, result);
            continue;
        }
        if (const vk::OsResult result =
                registry.SetText(variables.Get(), kTrustedPathsValue, type, newList);
            result != vk::kOk) {
            log.Failed("write " + where, result);
            continue;
        }
        log.Info(services.codePage.ToWide(where + ": was ") +
                 (old == OldList::Absent ? u"(none)" : quoted(oldList)) + u"; now " +
                 quoted(newList) + (type == vk::kRegExpandSz ? u" (REG_EXPAND_SZ)" : u""));
    }
    return variablesKeys.size();
}

bool vk::RemoveTrustedPathFor(const Services& services, const UserHive& hive,
                              const std::string& installDir) {
    const std::vector<std::string> variablesKeys =
        VariablesKeys(services, hive, ProfilesKeys(services, hive));
    vk::IRegistry& registry = services.registry;
    vk::RegKey user(registry);
    if (variablesKeys.empty() || vk::OpenUserHive(registry, hive, user) != vk::kOk)
        return true;  // no profile: nothing of ours
    const std::u16string folder = services.codePage.ToWide(installDir);
    bool allWritten = true;
    for (const std::string& path : variablesKeys) {
        std::u16string list;
        std::uint32_t type = vk::kRegSz;
        bool keyExists = true;
        if (ReadOldList(registry, user.Get(), path, list, type, keyExists) != OldList::Read ||
            !vk::TrustedPathsHold(list, folder, services.codePage)) {
            continue;
        }
        const std::string where = "TRUSTEDPATHS in " + hive.Name() + "\\" + path;
        vk::RegKey variables(registry);
        vk::OsResult result = variables.Open(user.Get(), path);
        if (result == vk::kOk) {
            result = registry.SetText(variables.Get(), kTrustedPathsValue, type,
                                      vk::WithoutTrustedPath(list, folder, services.codePage));
        }
        if (result != vk::kOk) {
            services.log.Failed("take " + installDir + " out of " + where, result);
            allWritten = false;
            continue;
        }
        services.log.Info(where + ": " + installDir + " taken out");
    }
    return allWritten;
}
