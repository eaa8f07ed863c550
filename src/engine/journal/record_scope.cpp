#include "engine/journal/record_scope.h"

#include <optional>
#include <string_view>
#include <vector>

#include "core/mbcs.h"
#include "engine/active_setup.h"
#include "engine/apps_features.h"
#include "engine/data_files.h"
#include "engine/install_paths.h"

namespace vk {
namespace {

// An absolute drive path whose every name is a plain one: no "." or "..",
// no character that Windows reads as a separator, a stream or a wildcard.
bool IsPlainPath(const ICodePage& cp, const std::string& path) {
    constexpr std::string_view kNotInNames = "\"*/:<>?|";
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\')
        return false;
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')))
        return false;
    for (const std::string& name : SplitText(cp, path.substr(3), '\\')) {
        if (name.empty() || name == "." || name == "..")
            return false;
        for (const std::size_t at : CharacterStarts(cp, name)) {
            const auto c = static_cast<unsigned char>(name[at]);
            const bool single = !cp.IsLeadByte(c) || at + 1 == name.size();
            if (single && (c < 0x20 || kNotInNames.find(name[at]) != std::string_view::npos))
                return false;
        }
    }
    return true;
}

bool SameText(const ICodePage& cp, const std::string& a, const std::string& b) {
    return cp.ToUpper(a) == cp.ToUpper(b);
}

// The path's last name and the folder before it.
void SplitLast(const ICodePage& cp, const std::string& path, std::string& folder,
               std::string& name) {
    const std::size_t slash = FindLastChar(cp, path, '\\');
    folder = slash == kNoPos ? std::string() : path.substr(0, slash);
    name = slash == kNoPos ? path : path.substr(slash + 1);
}

bool IsSettingsFolder(const ICodePage& cp, const std::string& path) {
    std::string folder, name;
    SplitLast(cp, path, folder, name);
    return IsPlainPath(cp, path) && SameText(cp, name, kSettingsFolderName) && folder.size() > 3;
}

bool IsSettingsFile(const ICodePage& cp, const std::string& path) {
    std::string folder, name;
    SplitLast(cp, path, folder, name);
    return SameText(cp, name, kSettingsFile) && IsSettingsFolder(cp, folder);
}

bool IsProductFile(const ICodePage& cp, const std::string& path, const std::string& productDir) {
    return IsPlainPath(cp, path) && IsInsideFolder(cp, path, productDir);
}

bool IsBackup(const ICodePage& cp, const std::string& path, const std::string& productDir) {
    return path.empty() || (IsPlainPath(cp, path) &&
                            IsInsideFolder(cp, path, JoinPath(productDir, kBackupFolderName)));
}

// The names of a key path below `prefix`, compared without regard to case;
// nothing when the path would not reach the key it seems to name: a NUL ends
// it for the registry functions, and an empty name (but a last one, a
// trailing backslash) names no key.
std::optional<std::vector<std::string>> NamesBelow(const ICodePage& cp, const std::string& key,
                                                   const std::string& prefix) {
    if (key.size() <= prefix.size() || !SameText(cp, key.substr(0, prefix.size()), prefix) ||
        key.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::vector<std::string> names = SplitText(cp, key.substr(prefix.size()), '\\');
    if (names.size() > 1 && names.back().empty())
        names.pop_back();
    for (const std::string& name : names) {
        if (name.empty())
            return std::nullopt;
    }
    return names;
}

// "SOFTWARE\Autodesk\AutoCAD\..." or its 32-bit view, with names below it:
// discovery finds a product key at any depth below a release key.
bool IsProductKey(const ICodePage& cp, const std::string& key) {
    return NamesBelow(cp, key, "SOFTWARE\\Autodesk\\AutoCAD\\") ||
           NamesBelow(cp, key, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\");
}

bool IsApplicationKey(const std::string& key) {
    const std::string prefix = "Applications\\VK_BatchPlot";
    return key.size() == prefix.size() + 4 && key.starts_with(prefix) &&
           key.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// A user's SID, as HKEY_USERS names the loaded hives ("S-1-" and numbers
// separated by "-"); empty: the current user.
bool IsUserName(const std::string& sid) {
    if (sid.empty())
        return true;
    if (!sid.starts_with("S-1-") || sid.back() == '-' || sid.find("--") != std::string::npos)
        return false;
    return sid.find_first_not_of("0123456789-", 4) == std::string::npos;
}

// A profile's "...\<release>\<product>\Profiles\<profile>\Variables", as the
// installation finds them (trusted_paths_registration.cpp).
bool IsVariablesKey(const ICodePage& cp, const std::string& key) {
    const std::optional<std::vector<std::string>> names =
        NamesBelow(cp, key, "Software\\Autodesk\\AutoCAD\\");
    return names && names->size() == 5 && !key.ends_with('\\') &&
           SameText(cp, (*names)[2], "Profiles") && SameText(cp, (*names)[4], "Variables");
}

struct ScopeCheck {
    const ICodePage& cp;
    const std::string& productDir;

    std::string operator()(const RunStarted& e) const {
        return SameText(cp, e.installDir, productDir) ? "" : "a run in " + e.installDir;
    }
    std::string operator()(const RunFinished&) const { return {}; }
    std::string operator()(const RunRolledBack&) const { return {}; }
    std::string operator()(const FolderCreated& e) const {
        const bool above = IsPlainPath(cp, e.path) && IsInsideFolder(cp, productDir, e.path, true);
        return above || IsSettingsFolder(cp, e.path) ? "" : "the folder " + e.path;
    }
    std::string operator()(const FilePlaced& e) const {
        if (!IsPlacedFile(e.path))
            return "the file " + e.path;
        return IsBackup(cp, e.backup, productDir) ? "" : "the backup " + e.backup;
    }
    std::string operator()(const FileWrote& e) const {
        return IsPlacedFile(e.path) || !AcadFolderOfSupportFile(cp, e.path).empty()
                   ? ""
                   : "the file " + e.path;
    }
    std::string operator()(const SupportFilePlaced& e) const {
        if (AcadFolderOfSupportFile(cp, e.path).empty())
            return "the support file " + e.path;
        return IsBackup(cp, e.backup, productDir) ? "" : "the backup " + e.backup;
    }
    std::string operator()(const DemandLoadWritten& e) const {
        return IsProductKey(cp, e.productKey) && IsApplicationKey(e.appKey)
                   ? ""
                   : "the key HKLM\\" + e.productKey + "\\" + e.appKey;
    }
    std::string operator()(const TrustedPathsWritten& e) const {
        if (!IsUserName(e.user) || !IsVariablesKey(cp, e.variablesKey))
            return "the key " + e.user + "\\" + e.variablesKey;
        return SameText(cp, e.folder, productDir) ? "" : "the trusted folder " + e.folder;
    }
    std::string operator()(const MachineKeyWritten& e) const {
        return SameText(cp, e.key, kAppsFeaturesKey) || SameText(cp, e.key, kActiveSetupKey)
                   ? ""
                   : "the key HKLM\\" + e.key;
    }

    bool IsPlacedFile(const std::string& path) const {
        return IsProductFile(cp, path, productDir) || IsSettingsFile(cp, path);
    }
};

}  // namespace

bool IsInsideFolder(const ICodePage& codePage, const std::string& path, const std::string& folder,
                    bool orSame) {
    const std::string upperPath = codePage.ToUpper(path);
    const std::string upperFolder = codePage.ToUpper(folder);
    if (upperPath == upperFolder)
        return orSame;
    if (upperPath.size() <= upperFolder.size() + 1 || !upperPath.starts_with(upperFolder))
        return false;
    // The backslash after the folder must be a character of its own.
    const std::vector<std::size_t> starts = CharacterStarts(codePage, path);
    for (const std::size_t at : starts) {
        if (at == folder.size())
            return path[at] == '\\';
        if (at > folder.size())
            break;
    }
    return false;
}

std::string AcadFolderOfSupportFile(const ICodePage& codePage, const std::string& path) {
    if (!IsPlainPath(codePage, path))
        return {};
    std::string folder, name, acad, sub;
    SplitLast(codePage, path, folder, name);
    SplitLast(codePage, folder, acad, sub);
    const bool font =
        SameText(codePage, sub, kAcadFontsFolder) &&
        (SameText(codePage, name, kFontEnFile) || SameText(codePage, name, kFontHzFile));
    const bool driver =
        SameText(codePage, sub, kAcadDriverFolder) && SameText(codePage, name, kPlotDriverFile);
    return (font || driver) && acad.size() >= 2 ? acad : std::string();
}

std::string PlaceOutsideInstallation(const ICodePage& codePage, const std::string& productDir,
                                     const RecordEntry& entry) {
    return std::visit(ScopeCheck{codePage, productDir}, entry);
}

}  // namespace vk
