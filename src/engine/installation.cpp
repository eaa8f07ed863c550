#include "engine/installation.h"

#include <cstddef>
#include <map>

#include "core/mbcs.h"
#include "engine/active_setup.h"
#include "engine/apps_features.h"
#include "engine/file_ops.h"
#include "engine/folder_protection.h"
#include "engine/install_path_safety.h"
#include "engine/install_paths.h"
#include "engine/install_texts.h"
#include "engine/journal/anchor.h"
#include "engine/journal/record.h"
#include "engine/journal/record_scope.h"
#include "engine/per_user_steps.h"
#include "engine/undo.h"
#include "engine/uninstall.h"

namespace vk {
namespace {

bool SameFolder(const ICodePage& cp, const std::string& a, const std::string& b) {
    return cp.ToUpper(a) == cp.ToUpper(b);
}

// While it lives, the catalogue's registrations go into the record.
class RecordingScope {
public:
    RecordingScope(CAcadReleaseCatalog& catalog, RecordWriter& record) : catalog_(catalog) {
        catalog_.m_pRecord = &record;
    }
    ~RecordingScope() { catalog_.m_pRecord = nullptr; }
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;

private:
    CAcadReleaseCatalog& catalog_;
};

// Every level of `folder` below its drive root, outermost first.
std::vector<std::string> LevelsOf(const ICodePage& cp, const std::string& folder) {
    std::vector<std::string> levels;
    if (folder.size() < 3)
        return levels;  // "D:": the drive root itself
    std::string soFar = folder.substr(0, 2);
    for (const std::string& name : SplitText(cp, folder.substr(3), '\\')) {
        soFar += '\\' + name;
        levels.push_back(soFar);
    }
    return levels;
}

// The record this run writes: this installation's own in the product folder
// (appended to, keeping its identifier), or a new one.
struct RecordPlan {
    std::string id;
    bool fresh = true;
    std::vector<RecordEntry> earlier;  // appended to: the entries in force already
};

// A run of this installation that was cut short (the program killed, the
// power gone) is taken back whole before anything else: a new record's, with
// the record and the folders it made; an appended one's, ending with a mark
// that it was rolled back. The folders a new run was about to make are taken
// back too. False (after saying so) when it could not be.
bool TakeBackInterruptedRun(const Services& services, const std::string& productDir,
                            const RecordOfInstallation& record) {
    if (!LastRunInterrupted(record.entries))
        return true;
    services.log.Info("The last installation into " + productDir +
                      " was interrupted: taking it back first");
    std::size_t runStart = 0;  // none in force: the record's first run
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        if (std::holds_alternative<RunStarted>(record.entries[i]))
            runStart = i;
    }
    UndoReport report;
    if (runStart == 0) {
        RemoveInstallation(services, productDir, record.entries, true, report);
        return true;
    }
    const std::vector<RecordEntry> run(
        record.entries.begin() + static_cast<std::ptrdiff_t>(runStart), record.entries.end());
    UndoChanges(services, run, productDir, report);
    RecordWriter writer(services.files, services.codePage, productDir, record.id);
    RecordSeal seal;
    if (writer.Add(RunRolledBack{}) != kOk || writer.Seal(seal) != kOk ||
        WriteRecordSeal(services, seal) != kOk) {
        services.log.Failed("mark the interrupted installation as taken back",
                            kErrInvalidParameter);
        return false;
    }
    return true;
}

// An earlier installation: in another folder it is removed first; in this
// one it is updated, once an interrupted run of it is taken back. A record
// that is not this installation's is neither undone nor appended to (the
// reader has said why). False (after saying why) when this installation's
// record is damaged.
bool DealWithEarlierInstallation(const Services& services, InstallEvents& events,
                                 const std::string& installDir, RecordPlan& plan) {
    const std::optional<std::string> earlier = InstalledProductDir(services);
    std::vector<std::string> folders;
    if (earlier && !SameFolder(services.codePage, *earlier, installDir))
        folders.push_back(*earlier);
    folders.push_back(installDir);
    for (const std::string& productDir : folders) {
        RecordOfInstallation record = ReadInstallationRecord(services, productDir);
        if (record.state == RecordState::Damaged) {
            services.log.Info("Stopped: the record in " + productDir +
                              " is damaged: " + record.problem);
            events.Say(DamagedRecordText(JoinPath(productDir, kRecordFileName), false),
                       kMbOk | kMbIconStop);
            return false;
        }
        if (record.state != RecordState::Read)
            continue;
        if (productDir == installDir) {
            if (!TakeBackInterruptedRun(services, productDir, record))
                return false;
            record = ReadInstallationRecord(services, productDir);
            if (record.state == RecordState::Read)
                plan = {record.id, false, record.entries};
            continue;
        }
        services.log.Info("Removing the earlier installation in " + productDir +
                          " before installing into " + installDir);
        UndoReport report;
        RemoveInstallation(services, productDir, record.entries, true, report);
    }
    if (plan.fresh)
        TakeBackPendingFolders(services);
    return true;
}

// Every level of the chosen folder, and the product folder, that does not exist yet.
std::vector<std::string> MissingLevels(const Services& services, const std::string& folder,
                                       const std::string& installDir) {
    std::vector<std::string> levels = LevelsOf(services.codePage, folder);
    levels.push_back(installDir);
    std::vector<std::string> missing;
    for (const std::string& level : levels) {
        if (services.files.GetAttributes(level) == kInvalidAttributes)
            missing.push_back(level);
    }
    return missing;
}

// Makes the missing levels, each protected from the start; false (after
// saying which folder) when one cannot be made, and the levels made are gone
// again. A level another account made in the meantime is left as it is (the
// path is judged again: StillSafe).
bool MakeFolders(const Services& services, InstallEvents& events,
                 std::vector<std::string>& levels) {
    std::vector<std::string> made;
    for (const std::string& level : levels) {
        const OsResult result = CreateProtectedFolder(services, level);
        if (result == kErrAlreadyExists)
            continue;
        if (result != kOk) {
            for (auto it = made.rbegin(); it != made.rend(); ++it)
                services.files.RemoveEmptyFolder(*it);
            events.Say(FolderNotCreatedText(level), kMbOk | kMbIconStop);
            levels.clear();
            return false;
        }
        made.push_back(level);
    }
    levels = made;
    return true;
}

// The path as the folders stand now: a folder that another account made in
// the moment between the check and the making of the folders is refused as
// it would have been before (the levels made are gone again).
bool StillSafe(const Services& services, InstallEvents& events, const InstallRequest& request,
               std::vector<std::string>& made) {
    const std::optional<ReplaceableFolder> found = FindReplaceableFolder(services, request.folder);
    if (!found || (!request.acceptedReplaceable.empty() &&
                   SameFolder(services.codePage, found->folder, request.acceptedReplaceable))) {
        return true;
    }
    services.log.Info("Stopped: " + found->folder +
                      " is a folder that standard users could replace or add to");
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        services.files.RemoveEmptyFolder(*it);
    made.clear();
    events.Say(ReplaceableFolderText(*found) + kChooseProtectedFolderText, kMbOk | kMbIconStop);
    return false;
}

// Takes back what this run entered in the record, and says so.
void RollBack(const Services& services, InstallEvents& events, RecordWriter& record) {
    services.log.Info("Rolling back this installation");
    UndoReport report;
    UndoChanges(services, record.Added(), record.ProductDir(), report);
    if (record.Created()) {
        RemoveProductFolder(services, record.Added(), record.ProductDir(), report);
    } else {
        RecordSeal seal;
        if (record.Add(RunRolledBack{}) == kOk && record.Seal(seal) == kOk)
            WriteRecordSeal(services, seal);
    }
    events.Say(RolledBackText(report.notRemoved), kMbOk | kMbIconExclamation);
}

// The run's end: its mark, and the record sealed as it now stands.
void EndRun(const Services& services, RecordWriter& record) {
    RecordSeal seal;
    OsResult result = record.Add(RunFinished{});
    if (result == kOk)
        result = record.Seal(seal);
    if (result == kOk)
        result = WriteRecordSeal(services, seal);
    if (result != kOk)
        services.log.Failed("end the installation record " + record.Path(), result);
}

// The size of what the record says is in the product folder, in KB: what
// the earlier runs and this one wrote there.
std::uint64_t InstalledSizeKb(const Services& services, const std::string& productDir,
                              const std::vector<RecordEntry>& earlier,
                              const std::vector<RecordEntry>& added) {
    std::map<std::string, std::uint64_t> sizes;
    for (const std::vector<RecordEntry>* entries : {&earlier, &added}) {
        for (const RecordEntry& entry : *entries) {
            if (const auto* file = std::get_if<FileWrote>(&entry);
                file != nullptr && IsInsideFolder(services.codePage, file->path, productDir)) {
                sizes[services.codePage.ToUpper(file->path)] = file->size;
            }
        }
    }
    std::uint64_t bytes = 0;
    for (const auto& [path, size] : sizes)
        bytes += size;
    return (bytes + 1023) / 1024;
}

// A key below HKEY_LOCAL_MACHINE written whole, entered as it was before.
template <typename Write>
void WriteMachineKey(const Services& services, RecordWriter& record, const char* key, Write write) {
    const std::optional<MachineKeyWritten> before = MachineKeyWritten::Capture(services, key);
    if (!before)
        return;
    if (const OsResult entered = record.Add(*before); entered != kOk) {
        services.log.Failed("enter HKLM\\" + std::string(key) + " in the installation record",
                            entered);
        return;
    }
    write();
}

// One of the setup's own programs in the product folder, entered first, with
// what was written once it is there. kOk or the failure, logged.
template <typename Place>
OsResult PlaceOwnProgram(const Services& services, RecordWriter& record, const std::string& path,
                         Place place) {
    FileDigest written;
    OsResult result = record.Add(FilePlaced{path, ""});
    if (result == kOk)
        result = place(written);
    if (result == kOk)
        record.Stage(FileWrote{path, written.size, written.hash});
    if (result == kOk)
        result = record.Flush();
    if (result != kOk)
        services.log.Failed("place " + path, result);
    return result;
}

// The uninstaller (this program), the logon program that starts it for each
// user, and the Apps & Features entry that names the uninstaller.
void RegisterUninstall(const Services& services, const InstallRequest& request,
                       const std::string& installDir, RecordWriter& record,
                       const std::vector<RecordEntry>& earlier) {
    std::string program;
    services.files.GetModulePath(program);
    PlaceOwnProgram(
        services, record, JoinPath(installDir, kUninstallerFileName), [&](FileDigest& written) {
            return PlaceCopy(services, program, JoinPath(installDir, kUninstallerFileName), false,
                             &written);
        });
    const std::string logon = JoinPath(installDir, kLogonProgramFileName);
    if (request.logonProgram.empty()) {
        services.log.Failed("place " + logon + ": this build carries no logon program");
    } else {
        PlaceOwnProgram(services, record, logon, [&](FileDigest& written) {
            return PlaceBytes(services, request.logonProgram, logon, &written);
        });
    }
    // Its first values, the record's anchor among them, are entered at the run's start.
    WriteAppsFeaturesEntry(services,
                           {installDir, request.version, request.installDate,
                            InstalledSizeKb(services, installDir, earlier, record.Added())});
}

}  // namespace

std::string InstallDirOf(const std::string& folder) {
    return JoinPath(folder, kProductFolderName);
}

InstallOutcome RunInstallation(const Services& services, CAcadReleaseCatalog& catalog,
                               const InstallRequest& request) {
    Log& log = services.log;
    const std::size_t failuresBefore = log.Failures();
    InstallOutcome outcome;
    outcome.installDir = InstallDirOf(request.folder);
    const auto finish = [&](InstallResult result) {
        outcome.result = result;
        outcome.failedSteps = log.Failures() - failuresBefore;
        return outcome;
    };
    log.Info("Installing into " + outcome.installDir);
    PromptingEvents prompting(services, request.progress, request.copyFailures);
    InstallEvents& events = *(request.events != nullptr ? request.events : &prompting);

    RecordPlan plan;
    if (!DealWithEarlierInstallation(services, events, outcome.installDir, plan))
        return finish(InstallResult::EarlierRecordDamaged);
    // The Apps & Features key as it was, entered once the record exists. The
    // key is this product's own: with no record of this installation behind
    // it (one cut short before its record began, one of an earlier version),
    // a new record takes it back whole.
    const std::optional<MachineKeyWritten> appsFeatures =
        plan.fresh ? std::optional(MachineKeyWritten{kAppsFeaturesKey, false, {}})
                   : MachineKeyWritten::Capture(services, kAppsFeaturesKey);
    const auto refuse = [&](const std::string& folder) {
        events.Say(FolderNotCreatedText(folder), kMbOk | kMbIconStop);
        return finish(InstallResult::FolderRefused);
    };
    if (!appsFeatures)
        return refuse(outcome.installDir);
    // Before the first change: a new record's identifier in the machine's
    // registry, with the folders about to be made.
    std::vector<std::string> made = MissingLevels(services, request.folder, outcome.installDir);
    if (plan.fresh) {
        const std::optional<std::string> id = NewRecordId(services);
        if (!id || WriteRecordAnchor(services, *id, outcome.installDir) != kOk ||
            WritePendingFolders(services, made) != kOk) {
            RemoveAppsFeaturesEntry(services);
            return refuse(outcome.installDir);
        }
        plan.id = *id;
    }
    if (!MakeFolders(services, events, made) || !StillSafe(services, events, request, made)) {
        if (plan.fresh)
            RemoveAppsFeaturesEntry(services);
        return finish(InstallResult::FolderRefused);
    }
    // A folder that was there already may hold anything: it is protected anew.
    if (made.empty() || !SameFolder(services.codePage, made.back(), outcome.installDir))
        ProtectFolder(services, outcome.installDir);
    RecordWriter record(services.files, services.codePage, outcome.installDir, plan.id);
    OsResult opened = record.Begin(plan.fresh);
    if (opened == kOk) {
        record.Stage(RunStarted{outcome.installDir, request.version});
        if (plan.fresh)
            record.Stage(*appsFeatures);
        for (const std::string& folder : made)
            record.Stage(FolderCreated{folder});
        opened = record.Flush();
    }
    if (opened == kOk && plan.fresh)
        opened = WritePendingFolders(services, {});
    if (opened != kOk) {
        log.Failed("write the installation record " + record.Path(), opened);
        // An earlier installation's record and uninstaller stay as they were.
        if (plan.fresh) {
            UndoReport report;
            RemoveProductFolder(services, {}, outcome.installDir, report);
            for (auto it = made.rbegin(); it != made.rend(); ++it)
                services.files.RemoveEmptyFolder(*it);
            RemoveAppsFeaturesEntry(services);
        }
        return refuse(outcome.installDir);
    }
    const RecordingScope recording(catalog, record);

    DeployTarget target{outcome.installDir, request.progress, request.copyFailures, false};
    target.m_pRecord = &record;
    target.m_pEvents = &events;
    const DeployOutcome deployed = DeployFiles(services, target);
    if (deployed == DeployOutcome::MissingData) {
        EndRun(services, record);
        return finish(InstallResult::MissingData);
    }
    if (deployed == DeployOutcome::Aborted) {
        RollBack(services, events, record);
        return finish(InstallResult::Aborted);
    }
    events.Step();

    catalog.m_strInstallDir = outcome.installDir;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (request.selected[slot] != 0)
            catalog.RegisterDemandLoad(static_cast<unsigned>(kFirstReleaseYear + slot));
    }
    events.Step();
    catalog.CopySelectedSupportFiles(request.selected.data());
    events.Step();
    RegisterUninstall(services, request, outcome.installDir, record, plan.earlier);
    WriteMachineKey(services, record, kActiveSetupKey,
                    [&] { WriteActiveSetup(services, outcome.installDir, request.version); });
    ApplyToLoadedUsers(services, outcome.installDir, record);
    PlaceOwnSettingsFile(services, outcome.installDir, request.runsAsSystem, record);
    EndRun(services, record);

    finish(InstallResult::Completed);
    log.Info("Installation finished; failed steps: " + std::to_string(outcome.failedSteps));
    return outcome;
}

}  // namespace vk
