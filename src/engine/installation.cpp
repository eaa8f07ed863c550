#include "engine/installation.h"
#include "engine/setup_message.h"

#include <map>

#include "core/mbcs.h"
#include "engine/active_setup.h"
#include "engine/apps_features.h"
#include "engine/file_ops.h"
#include "engine/folder_protection.h"
#include "engine/install_path_safety.h"
#include "engine/install_paths.h"
#include "engine/install_record.h"
#include "engine/install_texts.h"
#include "engine/per_user_steps.h"
#include "engine/record_anchor.h"
#include "engine/uninstall.h"

namespace vk {
namespace {

void Step(const InstallRequest& request) {
    if (request.progress != nullptr)
        request.progress->Step();
}

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
};

// An earlier installation: in another folder it is removed first; in this
// one it is updated. A record that is not this installation's is neither
// undone nor appended to (the reader has said why). False (after saying why)
// when this installation's record is damaged.
bool DealWithEarlierInstallation(const Services& services, const std::string& installDir,
                                 RecordPlan& plan) {
    const std::optional<std::string> earlier = InstalledProductDir(services);
    std::vector<std::string> folders;
    if (earlier && !SameFolder(services.codePage, *earlier, installDir))
        folders.push_back(*earlier);
    folders.push_back(installDir);
    for (const std::string& productDir : folders) {
        const RecordOfInstallation record = ReadInstallationRecord(services, productDir);
        if (record.state == RecordState::Damaged) {
            services.log.Info("Stopped: the record in " + productDir +
                              " is damaged: " + record.problem);
            SetupMessage(services, DamagedRecordText(JoinPath(productDir, kRecordFileName), false),
                         kMbOk | kMbIconStop);
            return false;
        }
        if (record.state != RecordState::Read)
            continue;
        if (productDir == installDir) {
            plan = {record.id, false};
            continue;
        }
        services.log.Info("Removing the earlier installation in " + productDir +
                          " before installing into " + installDir);
        UndoReport report;
        RemoveInstallation(services, productDir, record.entries, true, report);
    }
    return true;
}

// Makes every missing level and the product folder, each protected from the
// start; false (after saying which folder) when one cannot be made, and the
// levels made are gone again.
bool MakeFolders(const Services& services, const std::string& folder, const std::string& installDir,
                 std::vector<std::string>& made) {
    std::vector<std::string> levels = LevelsOf(services.codePage, folder);
    levels.push_back(installDir);
    for (const std::string& level : levels) {
        if (services.files.GetAttributes(level) != kInvalidAttributes)
            continue;
        if (CreateProtectedFolder(services, level) != kOk) {
            for (auto it = made.rbegin(); it != made.rend(); ++it)
                services.files.RemoveEmptyFolder(*it);
            made.clear();
            SetupMessage(services, FolderNotCreatedText(level), kMbOk | kMbIconStop);
            return false;
        }
        made.push_back(level);
    }
    return true;
}

// The path as the folders stand now: a folder that another account made in
// the moment between the check and the making of the folders is refused as
// it would have been before (the levels made are gone again).
bool StillSafe(const Services& services, const InstallRequest& request,
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
    SetupMessage(services, ReplaceableFolderText(*found) + kChooseProtectedFolderText,
                 kMbOk | kMbIconStop);
    return false;
}

// Takes back what this run entered in the record, and says so.
void RollBack(const Services& services, RecordWriter& record) {
    services.log.Info("Rolling back this installation");
    UndoReport report;
    UndoChanges(services, record.Added(), record.ProductDir(), report);
    if (record.Created()) {
        RemoveProductFolder(services, record.Added(), record.ProductDir(), report);
        // The record it anchored is gone: so is the anchor.
        RemoveAppsFeaturesEntry(services);
    } else {
        record.Add(RunRolledBack{});
    }
    SetupMessage(services, RolledBackText(report.notRemoved), kMbOk | kMbIconExclamation);
}

// The size of what the record says is in the product folder, in KB.
std::uint64_t InstalledSizeKb(const Services& services, const std::string& productDir,
                              std::uint64_t uninstallerBytes) {
    const RecordOfInstallation record = ReadInstallationRecord(services, productDir);
    std::map<std::string, std::uint64_t> sizes;
    for (const RecordEntry& entry : record.entries) {
        if (const auto* file = std::get_if<FileWritten>(&entry);
            file != nullptr &&
            SameFolder(services.codePage, file->path.substr(0, productDir.size()), productDir)) {
            sizes[services.codePage.ToUpper(file->path)] = file->size;
        }
    }
    std::uint64_t bytes = uninstallerBytes;
    for (const auto& [path, size] : sizes)
        bytes += size;
    return (bytes + 1023) / 1024;
}

// The uninstaller (this program) and the Apps & Features entry that names it.
void RegisterUninstall(const Services& services, const InstallRequest& request,
                       const std::string& installDir) {
    std::string program;
    services.files.GetModulePath(program);
    const std::string uninstaller = JoinPath(installDir, kUninstallerFileName);
    FileDigest self;
    DigestFile(services.files, program, self);
    if (const OsResult result = PlaceCopy(services, program, uninstaller); result != kOk)
        services.log.Failed("copy the uninstaller to " + uninstaller, result);
    WriteAppsFeaturesEntry(services, {installDir, request.version, request.installDate,
                                      InstalledSizeKb(services, installDir, self.size)});
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

    RecordPlan plan;
    if (!DealWithEarlierInstallation(services, outcome.installDir, plan))
        return finish(InstallResult::EarlierRecordDamaged);
    // Before the first change: the identifier of a new record in the machine's registry.
    if (plan.fresh) {
        const std::optional<std::string> id = NewRecordId(services);
        if (!id || WriteRecordAnchor(services, *id, outcome.installDir) != kOk) {
            RemoveAppsFeaturesEntry(services);
            SetupMessage(services, FolderNotCreatedText(outcome.installDir), kMbOk | kMbIconStop);
            return finish(InstallResult::FolderRefused);
        }
        plan.id = *id;
    }
    std::vector<std::string> made;
    if (!MakeFolders(services, request.folder, outcome.installDir, made) ||
        !StillSafe(services, request, made)) {
        if (plan.fresh)
            RemoveAppsFeaturesEntry(services);
        return finish(InstallResult::FolderRefused);
    }
    // A folder that was there already may hold anything: it is protected anew.
    if (made.empty() || !SameFolder(services.codePage, made.back(), outcome.installDir))
        ProtectFolder(services, outcome.installDir);
    RecordWriter record(services.files, services.codePage, outcome.installDir, plan.id);
    OsResult opened = record.Begin(plan.fresh);
    if (opened == kOk)
        opened = record.Add(RunStarted{outcome.installDir, request.version});
    for (const std::string& folder : made) {
        if (opened == kOk)
            opened = record.Add(FolderCreated{folder});
    }
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
        SetupMessage(services, FolderNotCreatedText(outcome.installDir), kMbOk | kMbIconStop);
        return finish(InstallResult::FolderRefused);
    }
    const RecordingScope recording(catalog, record);

    DeployTarget target{outcome.installDir, request.progress, request.copyFailures, false};
    target.m_pRecord = &record;
    const DeployOutcome deployed = DeployFiles(services, target);
    if (deployed == DeployOutcome::MissingData)
        return finish(InstallResult::MissingData);
    if (deployed == DeployOutcome::Aborted) {
        RollBack(services, record);
        return finish(InstallResult::Aborted);
    }
    Step(request);

    catalog.m_strInstallDir = outcome.installDir;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (request.selected[slot] != 0)
            catalog.RegisterDemandLoad(static_cast<unsigned>(kFirstReleaseYear + slot));
    }
    Step(request);
    catalog.CopySelectedSupportFiles(request.selected.data());
    Step(request);
    RegisterUninstall(services, request, outcome.installDir);
    WriteActiveSetup(services, outcome.installDir, request.version);
    ApplyToLoadedUsers(services, outcome.installDir, record);
    PlaceOwnSettingsFile(services, outcome.installDir, request.runsAsSystem, record);

    finish(InstallResult::Completed);
    log.Info("Installation finished; failed steps: " + std::to_string(outcome.failedSteps));
    return outcome;
}

}  // namespace vk
