#include "engine/deploy.h"

#include <optional>
#include <vector>

#include "engine/data_files.h"
#include "engine/file_ops.h"
#include "engine/find_scope.h"
#include "engine/install_path_safety.h"
#include "engine/install_paths.h"
#include "engine/install_texts.h"
#include "engine/settings_folder.h"

namespace vk {
namespace {

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
    // With a record: whether its line is staged with the group, or waits for
    // the copy's own try (a file there whose content could not be read).
    bool lineWaits = false;
    std::string backup;     // of the different file it replaces, when recorded
    bool backedUp = false;  // the backup is made (a retry makes it once)
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

// What is at the destination now: nothing, a different file (to be backed
// up), the very file the copy would write (nothing changes), or a file whose
// content cannot be read now (held open), which is decided again at each try.
enum class AtDestination { Nothing, Different, Same, Unreadable };

AtDestination Look(IFileSystem& files, const Copy& copy) {
    if (!copy.hasDestination || !FitsMaxPath(copy.destination))
        return AtDestination::Nothing;  // the copy fails by itself
    FileDigest old;
    const OsResult read = DigestFile(files, copy.destination, old);
    if (read == kErrFileNotFound || read == kErrPathNotFound)
        return AtDestination::Nothing;
    if (read != kOk)
        return AtDestination::Unreadable;
    FileDigest source;
    return DigestFile(files, copy.source, source) == kOk && old.hash == source.hash
               ? AtDestination::Same
               : AtDestination::Different;
}

// Stages a copy's line: the file, and the backup of the different file it
// replaces (made just before its copy); its folder first when it is made.
// False when the destination already holds what the copy writes.
bool StageCopy(const Services& services, RecordWriter& record, Copy& copy, AtDestination at) {
    if (at == AtDestination::Same) {
        services.log.Info("Kept " + copy.destination + ": it holds what the package has");
        return false;
    }
    if (!copy.folderToCreate.empty() && FitsMaxPath(copy.folderToCreate) &&
        services.files.GetAttributes(copy.folderToCreate) == kInvalidAttributes) {
        record.Stage(FolderCreated{copy.folderToCreate});
    }
    copy.backup = at == AtDestination::Different ? record.NewBackupPath() : std::string();
    if (at == AtDestination::Different && copy.backup.empty()) {
        copy.lineWaits = true;  // no backup folder yet: decided again at the copy's try
        return true;
    }
    const std::uint32_t attributes =
        copy.backup.empty() ? 0 : services.files.GetAttributes(copy.destination);
    if (attributes == kInvalidAttributes) {
        copy.lineWaits = true;  // decided again at the copy's try
        return true;
    }
    record.Stage(FilePlaced{copy.destination, copy.backup, attributes});
    return true;
}

// Stages the lines of every copy before any is made.
void StageCopies(const Services& services, RecordWriter& record, std::vector<Copy*>& copies) {
    for (Copy*& copy : copies) {
        if (copy == nullptr)
            continue;
        const AtDestination at = Look(services.files, *copy);
        if (at == AtDestination::Unreadable)
            copy->lineWaits = true;
        else if (!StageCopy(services, record, *copy, at))
            copy = nullptr;
    }
}

// kOk, or why the copy could not be made.
OsResult TryCopy(const Services& services, Copy& copy, RecordWriter* record) {
    IFileSystem& files = services.files;
    if (!copy.hasDestination)
        return kErrPathNotFound;
    if (!copy.folderToCreate.empty() && FitsMaxPath(copy.folderToCreate) &&
        files.GetAttributes(copy.folderToCreate) == kInvalidAttributes) {
        files.CreateFolder(copy.folderToCreate);
    }
    if (!FitsMaxPath(copy.source) || !FitsMaxPath(copy.destination))
        return kErrFilenameTooLong;
    ClearReadOnly(files, copy.source);
    if (copy.lineWaits && record != nullptr) {
        const AtDestination at = Look(files, copy);
        if (at == AtDestination::Unreadable)
            return kErrSharingViolation;  // still held open: asked again
        copy.lineWaits = false;
        if (!StageCopy(services, *record, copy, at))
            return kOk;  // nothing to change after all
        if (copy.lineWaits)
            return kErrPathNotFound;  // no backup folder: asked again
        if (const OsResult flushed = record->Flush(); flushed != kOk)
            return flushed;
    }
    if (!copy.backup.empty() && !copy.backedUp) {
        // Held open, the file cannot be backed up: it could not be replaced either.
        if (const OsResult saved = files.CopyFileNew(copy.destination, copy.backup); saved != kOk)
            return saved;
        copy.backedUp = true;
    }
    FileDigest written;
    const OsResult result = PlaceCopy(services, copy.source, copy.destination, false, &written);
    if (result == kOk && record != nullptr)
        record->Stage(FileWrote{copy.destination, written.size, written.hash});
    return result;
}

enum class Outcome { Done, Abort };

// Copies until it succeeds or the front end gives up on it (Ignore) or on
// the whole installation (Abort). Only Retry tries again.
Outcome CopyWithPrompt(const Services& services, Copy& copy, RecordWriter* record,
                       InstallEvents& events) {
    for (;;) {
        const OsResult result = TryCopy(services, copy, record);
        if (result == kOk) {
            services.log.Info("Copied " + copy.source + " to " + copy.destination);
            break;
        }
        const std::string failure = "copy " + copy.source + " to " + copy.destination;
        const CopyAnswer answer = events.CopyFailed(copy.destination);
        if (answer == CopyAnswer::Ignore) {
            services.log.Failed(failure + "; answered Ignore, the file is left out", result);
            break;
        }
        if (answer != CopyAnswer::Retry) {
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
    PromptingEvents prompting(services, target.m_pProgress, target.m_policy);
    InstallEvents& events = *(target.m_pEvents != nullptr ? target.m_pEvents : &prompting);
    const std::string dataFolder = GetSetupDataFolder(services);
    if (GetPathKind(services.files, dataFolder) != kPathFolder) {
        services.log.Info("No Data folder at " + dataFolder);
        events.Say(kMissingDataText, kMbOk);
        return DeployOutcome::MissingData;
    }
    if (FitsMaxPath(target.m_strTargetDir))
        services.files.CreateFolder(target.m_strTargetDir);

    // Every entry of Data, however many: one step per entry and one for the
    // pass that finds no more.
    const std::string pattern = JoinPath(dataFolder, "*.*");
    events.Step();
    std::vector<std::optional<Copy>> entries;  // nothing: an entry that is not copied
    {
        FindScope find(services.files);
        FindEntry entry;
        if (!FitsMaxPath(pattern) || find.First(pattern, entry) != kOk) {
            services.log.Info("Data folder " + dataFolder + " lists nothing to copy");
            return DeployOutcome::Done;
        }
        do {
            if (IsLinkInData(entry)) {
                services.log.Skipped(JoinPath(dataFolder, entry.name) +
                                     ": a symbolic link or junction, not copied");
            }
            entries.push_back(
                IsSkipped(services.codePage, entry)
                    ? std::nullopt
                    : std::optional(PlanCopy(services, dataFolder, target, entry.name)));
        } while (find.Next(entry) == kOk);
    }
    std::vector<Copy*> copies;
    copies.reserve(entries.size());
    for (std::optional<Copy>& copy : entries)
        copies.push_back(copy ? &*copy : nullptr);
    // The lines of the whole group on the disk, with one flush, before the first copy.
    if (target.m_pRecord != nullptr) {
        StageCopies(services, *target.m_pRecord, copies);
        if (const OsResult flushed = target.m_pRecord->Flush(); flushed != kOk) {
            services.log.Failed("write the installation record " + target.m_pRecord->Path() +
                                    "; the installation stops",
                                flushed);
            return DeployOutcome::Aborted;
        }
    }
    DeployOutcome outcome = DeployOutcome::Done;
    for (Copy* copy : copies) {
        if (copy != nullptr &&
            CopyWithPrompt(services, *copy, target.m_pRecord, events) == Outcome::Abort) {
            outcome = DeployOutcome::Aborted;
            break;
        }
        events.Step();
    }
    // What each file now holds, for its undo while it is unchanged.
    if (target.m_pRecord != nullptr) {
        if (const OsResult flushed = target.m_pRecord->Flush(); flushed != kOk)
            services.log.Failed("write the installation record " + target.m_pRecord->Path(),
                                flushed);
    }
    return outcome;
}

}  // namespace vk
