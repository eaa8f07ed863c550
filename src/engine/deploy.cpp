#include "engine/deploy.h"
#include "engine/setup_message.h"

#include <optional>

#include "engine/data_files.h"
#include "engine/file_ops.h"
#include "engine/find_scope.h"
#include "engine/install_path_safety.h"
#include "engine/install_paths.h"
#include "engine/install_texts.h"
#include "engine/settings_folder.h"

namespace vk {
namespace {

void Step(const DeployTarget& target) {
    if (target.m_pProgress != nullptr)
        target.m_pProgress->Step();
}

bool SameName(const ICodePage& cp, const std::string& a, const std::string& b) {
    return cp.ToUpper(a) == cp.ToUpper(b);
}

bool IsDots(const FindEntry& entry) {
    return entry.name == "." || entry.name == "..";
}

// A link in Data would copy whatever it points to, which may change at any time.
bool IsLinkInData(const FindEntry& entry) {
    return !IsDots(entry) && IsLink(entry);
}

bool IsSkipped(const ICodePage& cp, const FindEntry& entry) {
    if (IsDots(entry) || (entry.attributes & kAttrDirectory) || IsLink(entry))
        return true;
    for (const char* name : {kSetupProgramFile, kFontEnFile, kFontHzFile, kPlotDriverSourceFile}) {
        if (SameName(cp, entry.name, name))
            return true;
    }
    return false;
}

// A library under its proper name; every other file as found.
std::string DeployedName(const ICodePage& cp, const std::string& name) {
    for (const RenamedFile& renamed : kRenamedFiles) {
        if (SameName(cp, name, renamed.found))
            return renamed.deployedAs;
    }
    return name;
}

// Where one file of Data goes. The settings file's folder is created by each
// attempt; without any application-data folder it has no destination.
struct Copy {
    std::string source;
    std::string destination;
    std::string folderToCreate;
    bool hasDestination = true;
};

Copy PlanCopy(const Services& services, const std::string& dataFolder, const DeployTarget& target,
              const std::string& name) {
    const std::string& targetDir = target.m_strTargetDir;
    Copy copy;
    copy.source = JoinPath(dataFolder, name);
    copy.destination = JoinPath(targetDir, DeployedName(services.codePage, name));
    if (SameName(services.codePage, name, kSettingsFile)) {
        if (!target.m_bSettingsToAppData) {
            // Under the name that the users' steps look for.
            copy.destination = JoinPath(targetDir, kSettingsFile);
        } else if (std::optional<std::string> folder = SettingsFolder(services.files)) {
            copy.destination = JoinPath(*folder, name);
            copy.folderToCreate = *folder;
        } else {
            copy.destination = JoinPath(JoinPath("%APPDATA%", kSettingsFolderName), name);
            copy.hasDestination = false;  // the prompt still names where it belongs
        }
    }
    return copy;
}

// Enters the copy in the record before it is made: what it will write, and
// a backup of a different file it replaces. Nothing is entered for a file
// that already holds what the copy writes: it does not change.
OsResult RecordCopy(IFileSystem& files, RecordWriter& record, const Copy& copy) {
    FileDigest source;
    if (const OsResult read = DigestFile(files, copy.source, source); read != kOk)
        return read;
    FileWritten entry{copy.destination, source.size, source.hash, {}};
    FileDigest old;
    const OsResult existing = DigestFile(files, copy.destination, old);
    if (existing == kOk) {
        if (old.hash == entry.hash)
            return kOk;
        entry.backup = record.NewBackupPath();
        if (entry.backup.empty())
            return kErrPathNotFound;
        if (const OsResult saved = files.CopyFileNew(copy.destination, entry.backup); saved != kOk)
            return saved;
    } else if (existing != kErrFileNotFound && existing != kErrPathNotFound) {
        return existing;  // there, but unreadable (held open): the copy would fail too
    }
    const OsResult entered = record.Add(entry);
    if (entered != kOk && !entry.backup.empty())
        RemoveUnrecordedBackup(files, entry.backup);
    return entered;
}

// kOk, or why the copy could not be made.
OsResult TryCopy(const Services& services, const Copy& copy, RecordWriter* record) {
    IFileSystem& files = services.files;
    if (!copy.hasDestination)
        return kErrPathNotFound;
    if (!copy.folderToCreate.empty() && FitsMaxPath(copy.folderToCreate) &&
        files.GetAttributes(copy.folderToCreate) == kInvalidAttributes) {
        if (record != nullptr) {
            if (const OsResult entered = record->Add(FolderCreated{copy.folderToCreate});
                entered != kOk) {
                return entered;
            }
        }
        files.CreateFolder(copy.folderToCreate);
    }
    if (!FitsMaxPath(copy.source) || !FitsMaxPath(copy.destination))
        return kErrFilenameTooLong;
    ClearReadOnly(files, copy.source);
    if (record != nullptr) {
        if (const OsResult entered = RecordCopy(files, *record, copy); entered != kOk)
            return entered;
    }
    return PlaceCopy(services, copy.source, copy.destination);
}

enum class Outcome { Done, Abort };

// Copies until it succeeds or the user gives up on it (Ignore) or on the whole
// installation (Abort). Only Retry tries again: a box that could not be shown
// answers 0, and retrying on that would loop for ever with nobody to ask.
Outcome CopyWithPrompt(const Services& services, const Copy& copy, const DeployTarget& target) {
    const CopyFailurePolicy policy = target.m_policy;
    for (;;) {
        const OsResult result = TryCopy(services, copy, target.m_pRecord);
        if (result == kOk) {
            services.log.Info("Copied " + copy.source + " to " + copy.destination);
            break;
        }
        const std::string failure = "copy " + copy.source + " to " + copy.destination;
        if (policy == CopyFailurePolicy::Abort) {
            services.log.Failed(failure + "; the installation stops", result);
            return Outcome::Abort;
        }
        const int answer =
            SetupMessage(services, CopyFailedText(copy.destination), kMbAbortRetryIgnore);
        if (answer == kIdIgnore) {
            services.log.Failed(failure + "; answered Ignore, the file is left out", result);
            break;
        }
        if (answer != kIdRetry) {
            services.log.Failed(failure + "; answered Abort, the installation stops", result);
            return Outcome::Abort;
        }
    }
    ClearReadOnly(services.files, copy.destination);
    return Outcome::Done;
}

}  // namespace

std::string InstallFolderNameOf(const ICodePage& cp, const FindEntry& entry) {
    if (IsSkipped(cp, entry))
        return {};
    // An installation keeps the settings file there too, for the users' steps.
    return SameName(cp, entry.name, kSettingsFile) ? kSettingsFile : DeployedName(cp, entry.name);
}

DeployOutcome DeployFiles(const Services& services, const DeployTarget& target) {
    const std::string dataFolder = GetSetupDataFolder(services);
    if (GetPathKind(services.files, dataFolder) != kPathFolder) {
        services.log.Info("No Data folder at " + dataFolder);
        SetupMessage(services, kMissingDataText, kMbOk);
        return DeployOutcome::MissingData;
    }
    if (FitsMaxPath(target.m_strTargetDir))
        services.files.CreateFolder(target.m_strTargetDir);

    // Every entry of Data, however many: one step per entry and one for the
    // pass that finds no more.
    FindScope find(services.files);
    FindEntry entry;
    const std::string pattern = JoinPath(dataFolder, "*.*");
    Step(target);
    if (!FitsMaxPath(pattern) || find.First(pattern, entry) != kOk) {
        services.log.Info("Data folder " + dataFolder + " lists nothing to copy");
        return DeployOutcome::Done;
    }
    do {
        if (IsLinkInData(entry)) {
            services.log.Skipped(JoinPath(dataFolder, entry.name) +
                                 ": a symbolic link or junction, not copied");
        } else if (!IsSkipped(services.codePage, entry)) {
            const Copy copy = PlanCopy(services, dataFolder, target, entry.name);
            if (CopyWithPrompt(services, copy, target) == Outcome::Abort)
                return DeployOutcome::Aborted;
        }
        Step(target);
    } while (find.Next(entry) == kOk);
    return DeployOutcome::Done;
}

}  // namespace vk
