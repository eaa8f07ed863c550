#include "engine/undo.h"

#include <map>

#include "engine/apps_features.h"
#include "engine/install_paths.h"
#include "engine/journal/anchor.h"

namespace vk {
namespace {

// A run's entries, oldest first, and whether it got to its end.
struct Run {
    std::vector<const RecordEntry*> entries;
    bool finished = false;
};

std::vector<Run> RunsOf(const std::vector<RecordEntry>& entries) {
    std::vector<Run> runs;
    for (const RecordEntry& entry : entries) {
        if (runs.empty() || std::holds_alternative<RunStarted>(entry))
            runs.emplace_back();
        runs.back().entries.push_back(&entry);
        runs.back().finished = runs.back().finished || std::holds_alternative<RunFinished>(entry);
    }
    return runs;
}

// What each file of the run holds once written, by upper-cased path.
std::map<std::string, WrittenContent> WrittenBy(const ICodePage& codePage, const Run& run) {
    std::map<std::string, WrittenContent> written;
    for (const RecordEntry* entry : run.entries) {
        if (const auto* wrote = std::get_if<FileWrote>(entry))
            written[codePage.ToUpper(wrote->path)] = {wrote->size, wrote->hash};
    }
    return written;
}

// The Apps & Features key: it holds the record's anchor, which goes last.
bool IsAnchorKey(const ICodePage& codePage, const MachineKeyWritten& key) {
    return codePage.ToUpper(key.key) == codePage.ToUpper(kAppsFeaturesKey);
}

// What waits for the removal of the product folder: the uninstaller's own
// file, the folders that hold the record, and the record's anchor.
bool IsOwnPlace(const UndoContext& context, const RecordEntry& entry) {
    if (const auto* folder = std::get_if<FolderCreated>(&entry))
        return context.HoldsProductFolder(folder->path);
    if (const auto* key = std::get_if<MachineKeyWritten>(&entry))
        return IsAnchorKey(context.services.codePage, *key);
    const auto* file = std::get_if<FilePlaced>(&entry);
    return file != nullptr && context.services.codePage.ToUpper(file->path) ==
                                  context.services.codePage.ToUpper(
                                      JoinPath(context.productDir, kUninstallerFileName));
}

// Undoes, run by run, newest first, the entries `chosen` picks.
template <typename Chosen>
void UndoRuns(const Services& services, const std::vector<RecordEntry>& entries,
              const std::string& productDir, UndoReport& report, Chosen chosen) {
    UndoContext context(services, productDir, report);
    const std::vector<Run> runs = RunsOf(entries);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        context.interrupted = !run->finished;
        context.SetWritten(WrittenBy(services.codePage, *run));
        for (auto entry = run->entries.rbegin(); entry != run->entries.rend(); ++entry) {
            if (chosen(context, **entry))
                std::visit([&](const auto& e) { e.Undo(context); }, **entry);
        }
    }
}

}  // namespace

void UndoChanges(const Services& services, const std::vector<RecordEntry>& entries,
                 const std::string& productDir, UndoReport& report) {
    UndoRuns(services, entries, productDir, report,
             [](const UndoContext& context, const RecordEntry& entry) {
                 return !IsOwnPlace(context, entry);
             });
}

void RemoveProductFolder(const Services& services, const std::vector<RecordEntry>& entries,
                         const std::string& productDir, UndoReport& report) {
    UndoContext context(services, productDir, report);
    // The uninstaller's own file first, as its line says.
    UndoRuns(services, entries, productDir, report,
             [](const UndoContext& undo, const RecordEntry& entry) {
                 return std::holds_alternative<FilePlaced>(entry) && IsOwnPlace(undo, entry);
             });
    // Backups still there belong to files kept as changed: they stay with them.
    context.RemoveFolder(JoinPath(productDir, kBackupFolderName));
    // The folders go with the record; should this be cut short once the
    // record is gone, the anchor still names them.
    std::vector<std::string> folders;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (const auto* folder = std::get_if<FolderCreated>(&*entry);
            folder != nullptr && context.HoldsProductFolder(folder->path)) {
            folders.push_back(folder->path);
        }
    }
    if (std::optional<RecordAnchor> anchor = ReadRecordAnchor(services)) {
        std::vector<std::string> pending = anchor->pendingFolders;
        pending.insert(pending.end(), folders.begin(), folders.end());
        WritePendingFolders(services, pending);
    }
    const std::string record = JoinPath(productDir, kRecordFileName);
    const OsResult removed = services.files.RemoveFile(record);
    if (removed != kOk && removed != kErrFileNotFound && removed != kErrPathNotFound)
        context.Failed("remove " + record, removed);
    for (const std::string& folder : folders)
        context.RemoveFolder(folder);
    // Last, the anchor: until now an uninstall cut short finds it (uninstall.h).
    UndoRuns(services, entries, productDir, report,
             [](const UndoContext& undo, const RecordEntry& entry) {
                 const auto* key = std::get_if<MachineKeyWritten>(&entry);
                 return key != nullptr && IsAnchorKey(undo.services.codePage, *key);
             });
}

}  // namespace vk
