#include "engine/undo.h"

#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "core/reg_key.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"
#include "engine/record_scope.h"
#include "engine/settings_folder.h"
#include "engine/trusted_paths.h"
#include "engine/user_hives.h"

namespace vk {
namespace {

constexpr const char* kTrustedPathsValue = "TRUSTEDPATHS";
constexpr const char* kApplicationsKey = "Applications";

// Whether a key holds nothing at all: no subkey and no value.
bool IsEmptyKey(IRegistry& registry, RegHandle key) {
    std::string name;
    return SubkeyCountOrZero(registry, key) == 0 &&
           registry.EnumValueName(key, 0, name) == kErrNoMoreItems;
}

class Undoer {
public:
    Undoer(const Services& services, const std::string& productDir, UndoReport& report)
        : s_(services), productDir_(productDir), report_(report) {}

    void operator()(const RunStarted&) {}
    void operator()(const RunRolledBack&) {}

    void operator()(const FolderCreated& e) {
        if (!HoldsProductFolder(e.path) && IsOwnSettings(e.path))
            RemoveFolder(e.path);
    }

    void operator()(const FileWritten& e) {
        if (!IsInsideFolder(s_.codePage, e.path, productDir_) && !IsOwnSettings(e.path))
            return;
        FileDigest found;
        const OsResult read = DigestFile(s_.files, e.path, found);
        if (read == kErrFileNotFound || read == kErrPathNotFound) {
            // Ours is gone already; what it replaced comes back all the same.
            if (!e.backup.empty())
                Restore(e.path, e.backup);
            return;
        }
        if (read != kOk)
            return Failed("check " + e.path, read);
        if (found.hash != e.hash)
            return KeptOrNeverReplaced(e.path, e.backup, found.hash);
        if (!e.backup.empty())
            return Restore(e.path, e.backup);
        ClearReadOnly(s_.files, e.path);
        if (const OsResult result = s_.files.RemoveFile(e.path); result != kOk)
            return Failed("remove " + e.path, result);
        s_.log.Info("Removed " + e.path);
    }

    void operator()(const SupportFilePlaced& e) {
        if (!InAcadFolder(e.path))
            return;
        FileDigest found;
        const OsResult read = DigestFile(s_.files, e.path, found);
        if (read == kErrFileNotFound || read == kErrPathNotFound) {
            if (!e.backup.empty())
                Restore(e.path, e.backup);
            return;
        }
        if (read != kOk)
            return Failed("check " + e.path, read);
        if (found.hash != e.hash)
            return KeptOrNeverReplaced(e.path, e.backup, found.hash);
        if (!e.backup.empty())
            return Restore(e.path, e.backup);
        // A font of that name was there before and was not backed up (an
        // installation of an earlier version): drawings may need it.
        if (e.existed)
            return s_.log.Info("Left " + e.path + ": a file of that name was there before");
        ClearReadOnly(s_.files, e.path);
        if (const OsResult result = s_.files.RemoveFile(e.path); result != kOk)
            return Failed("remove " + e.path, result);
        s_.log.Info("Removed " + e.path);
    }

    void operator()(const DemandLoadWritten& e) {
        IRegistry& registry = s_.registry;
        const std::string where = "HKLM\\" + e.productKey + "\\" + e.appKey;
        RegKey machine(registry);
        RegKey product(registry);
        if (const OsResult result = machine.OpenRoot(RegRoot::LocalMachine); result != kOk)
            return Failed("open HKEY_LOCAL_MACHINE", result);
        if (const OsResult result = product.Open(machine.Get(), e.productKey); result != kOk) {
            if (result != kErrFileNotFound)
                Failed("open HKLM\\" + e.productKey, result);
            return;  // AutoCAD was removed, and our key with it
        }
        bool present = false;
        {
            RegKey app(registry);
            if (app.Open(product.Get(), e.appKey) == kOk) {
                present = true;
                // Ours while its LOADER is ours, or missing (a registration
                // that stopped half-way); another's LOADER makes it another's.
                StoredValue loader;
                const OsResult read = ReadStoredValue(registry, app.Get(), "LOADER", loader);
                if (read != kErrFileNotFound &&
                    (read != kOk || TextUpToNul(loader.data) != e.loader))
                    return Kept(where + " names another module now");
            }
        }
        if (present && registry.DeleteKey(product.Get(), e.appKey) != kOk) {
            // It has subkeys of its own: take back only the values written.
            RegKey app(registry);
            if (const OsResult result = app.Open(product.Get(), e.appKey); result != kOk)
                return Failed("open " + where, result);
            for (const char* name : {"LOADCTRLS", "LOADER"}) {
                if (!Had(e.oldValues, name))
                    registry.DeleteValue(app.Get(), name);
            }
        }
        if (e.existed) {
            RegKey app(registry);
            if (const OsResult result = app.Create(product.Get(), e.appKey); result != kOk)
                return Failed("restore " + where, result);
            for (const RecordedValue& value : e.oldValues) {
                const std::vector<std::uint8_t> data(value.data.begin(), value.data.end());
                if (const OsResult result =
                        registry.SetValue(app.Get(), value.name, value.type, data);
                    result != kOk) {
                    Failed("restore " + value.name + " in " + where, result);
                }
            }
            return s_.log.Info("Restored " + where + " as it was before the installation");
        }
        if (e.parentCreated) {
            RegKey applications(registry);
            if (applications.OpenForRead(product.Get(), kApplicationsKey) == kOk &&
                IsEmptyKey(registry, applications.Get())) {
                applications.Reset();
                registry.DeleteKey(product.Get(), kApplicationsKey);
            }
        }
        s_.log.Info("Removed " + where);
    }

    void operator()(const TrustedPathsWritten& e) {
        IRegistry& registry = s_.registry;
        // An empty user: a record of the time when only the account that ran
        // the installation got the trusted path.
        const UserHive hive{e.user, std::nullopt};
        const std::string where = "TRUSTEDPATHS in " + hive.Name() + "\\" + e.variablesKey;
        RegKey user(registry);
        RegKey variables(registry);
        if (const OsResult result = OpenUserHive(registry, hive, user); result != kOk) {
            if (result != kErrFileNotFound)
                return Failed("open " + hive.Name(), result);
            // Nobody can reach a hive that is not loaded: the user keeps the entry.
            return s_.log.Info("Left " + where + ": the user is not signed in");
        }
        if (const OsResult result = variables.Open(user.Get(), e.variablesKey); result != kOk) {
            if (result != kErrFileNotFound)
                Failed("open the key of " + where, result);
            return;
        }
        std::u16string current;
        std::uint32_t type = 0;
        const OsResult read = ReadText(variables.Get(), current, type);
        if (read != kOk && read != kErrFileNotFound)
            return Failed("read " + where, read);
        const bool textType = type == kRegSz || type == kRegExpandSz;
        if (read == kOk && type == e.written.type && current == WideTextOf(e.written.data)) {
            // As the installation left it: back to what it was.
            const OsResult result =
                e.before ? registry.SetText(variables.Get(), kTrustedPathsValue, e.before->type,
                                            WideTextOf(e.before->data))
                         : registry.DeleteValue(variables.Get(), kTrustedPathsValue);
            if (result != kOk)
                return Failed("restore " + where, result);
            s_.log.Info("Restored " + where);
        } else if (read == kOk && textType) {
            // Changed since: only the add-in's entry goes, the rest as it is now.
            const std::u16string without =
                WithoutTrustedPath(current, s_.codePage.ToWide(e.folder), s_.codePage);
            if (without != current) {
                const OsResult result =
                    without.empty() && !e.before
                        ? registry.DeleteValue(variables.Get(), kTrustedPathsValue)
                        : registry.SetText(variables.Get(), kTrustedPathsValue, type, without);
                if (result != kOk)
                    return Failed("remove " + e.folder + " from " + where, result);
            }
            s_.log.Info(where + " was changed after the installation; only " + e.folder +
                        " was taken out of it");
        }
        if (e.keyCreated && IsEmptyKey(registry, variables.Get())) {
            variables.Reset();
            registry.DeleteKey(user.Get(), e.variablesKey);
        }
    }

    bool HoldsProductFolder(const std::string& path) const {
        const std::string folder = s_.codePage.ToUpper(path);
        const std::string product = s_.codePage.ToUpper(productDir_);
        return folder == product || product.starts_with(folder + "\\");
    }

    void RemoveFolder(const std::string& path) {
        const OsResult result = s_.files.RemoveEmptyFolder(path);
        if (result == kOk)
            return s_.log.Info("Removed the folder " + path);
        if (result == kErrFileNotFound || result == kErrPathNotFound)
            return;
        if (result == kErrDirNotEmpty)
            return Kept("the folder " + path + " holds files that are not the add-in's");
        Failed("remove the folder " + path, result);
    }

    void Failed(const std::string& what, OsResult error) {
        s_.log.Failed(what, error);
        report_.notRemoved.push_back(what);
    }

private:
    static bool Had(const std::vector<RecordedValue>& values, const std::string& name) {
        for (const RecordedValue& value : values) {
            if (value.name == name)
                return true;
        }
        return false;
    }

    void Kept(const std::string& what) {
        s_.log.Info("Kept: " + what);
        report_.kept.push_back(what);
    }

    void Restore(const std::string& path, const std::string& backup) {
        if (const OsResult result = PlaceCopy(s_, backup, path, true); result != kOk)
            return Failed("restore " + path + " from " + backup, result);
        RemoveBackup(backup);
        s_.log.Info("Restored " + path + " as it was before the installation");
    }

    void RemoveBackup(const std::string& backup) {
        ClearReadOnly(s_.files, backup);
        s_.files.RemoveFile(backup);
    }

    // A file that is not what the installation wrote: the one it had backed
    // up (the copy never took its place), whose backup then goes, or one
    // somebody changed since, which stays with its backup.
    void KeptOrNeverReplaced(const std::string& path, const std::string& backup,
                             const std::string& hash) {
        FileDigest saved;
        if (!backup.empty() && DigestFile(s_.files, backup, saved) == kOk && saved.hash == hash) {
            // Its attributes, cleared for the copy, as the backup kept them.
            if (const std::uint32_t attributes = s_.files.GetAttributes(backup);
                attributes != kInvalidAttributes) {
                s_.files.SetAttributes(path, attributes);
            }
            RemoveBackup(backup);
            return s_.log.Info("Left " + path + ": it is as it was before the installation");
        }
        Kept(path + " was changed after the installation");
    }

    // The settings file and its folder are undone only in the profile of the
    // account this runs as: another account's folder is theirs, and a link or
    // a share of theirs could take the removal elsewhere.
    bool IsOwnSettings(const std::string& path) {
        const std::optional<std::string> own = SettingsFolder(s_.files);
        if (own && IsInsideFolder(s_.codePage, path, *own, true))
            return true;
        s_.log.Info("Left " + path + ": another account's settings, the user's own data");
        return false;
    }

    // Support files are undone only in the AutoCAD folders that discovery
    // finds now.
    bool InAcadFolder(const std::string& path) {
        if (!acadFolders_) {
            CAcadReleaseCatalog catalog(s_);
            catalog.DiscoverReleases();
            acadFolders_.emplace();
            for (const CStringList& locations : catalog.m_arrAcadLocations) {
                for (const std::string& location : locations)
                    acadFolders_->push_back(
                        s_.codePage.ToUpper(WithoutTrailingBackslash(s_.codePage, location)));
            }
        }
        const std::string folder = s_.codePage.ToUpper(AcadFolderOfSupportFile(s_.codePage, path));
        for (const std::string& acad : *acadFolders_) {
            if (acad == folder)
                return true;
        }
        s_.log.Info("Left " + path + ": not in the folder of an AutoCAD installed now");
        return false;
    }

    OsResult ReadText(RegHandle key, std::u16string& text, std::uint32_t& type) {
        for (int attempt = 0; attempt < 4; ++attempt) {
            std::size_t size = 0;
            OsResult result = s_.registry.QueryTextSize(key, kTrustedPathsValue, size);
            if (result != kOk)
                return result;
            result = s_.registry.QueryText(key, kTrustedPathsValue, size, text, type);
            if (result != kErrMoreData)
                return result;
        }
        return kErrMoreData;
    }

    const Services& s_;
    const std::string& productDir_;
    UndoReport& report_;
    std::optional<std::vector<std::string>> acadFolders_;  // found when first needed
};

}  // namespace

void UndoChanges(const Services& services, const std::vector<RecordEntry>& entries,
                 const std::string& productDir, UndoReport& report) {
    Undoer undoer(services, productDir, report);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        std::visit(undoer, *entry);
}

void RemoveProductFolder(const Services& services, const std::vector<RecordEntry>& entries,
                         const std::string& productDir, UndoReport& report) {
    Undoer undoer(services, productDir, report);
    const std::string backups = JoinPath(productDir, kBackupFolderName);
    // Backups still here belong to files kept as changed: they stay with them.
    for (const char* own : {kRecordFileName, kUninstallerFileName}) {
        const std::string path = JoinPath(productDir, own);
        const OsResult result = services.files.RemoveFile(path);
        if (result != kOk && result != kErrFileNotFound && result != kErrPathNotFound)
            undoer.Failed("remove " + path, result);
    }
    undoer.RemoveFolder(backups);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (const auto* folder = std::get_if<FolderCreated>(&*entry);
            folder != nullptr && undoer.HoldsProductFolder(folder->path)) {
            undoer.RemoveFolder(folder->path);
        }
    }
}

}  // namespace vk
