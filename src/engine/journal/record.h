#pragma once
// The installation record: the journal of every change an installation made,
// written as it goes so that whatever happens to the program, nothing was
// changed that the record does not name. Uninstall, rollback and the recovery
// of an interrupted run undo it, newest line first.
//
// The file (`<product folder>\Uninstall.rec`) is UTF-8 text: a first line
// naming the format with the record's identifier (anchor.h), then one line
// per entry (record_line.h). Each run begins with "run" and, when it got to
// its end, ends with "done"; a run without its end was interrupted. Lines are
// written in groups, each group on the disk before any change it names is
// made. A line that fails its check, or an unknown kind, makes the whole
// record damaged: it is never guessed at. Only a last line without its line
// break is set aside: it was being written when the run was cut short.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/changes/demand_load_written.h"
#include "engine/changes/file_placed.h"
#include "engine/changes/folder_created.h"
#include "engine/changes/machine_key_written.h"
#include "engine/changes/run_marks.h"
#include "engine/changes/support_file_placed.h"
#include "engine/changes/trusted_paths_written.h"
#include "engine/journal/record_values.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace vk {

// The setup's own files in the product folder.
inline constexpr const char* kRecordFileName = "Uninstall.rec";
inline constexpr const char* kUninstallerFileName = "Uninstall.exe";
// What Windows starts at each user's logon (the per-user stub's launcher).
inline constexpr const char* kLogonProgramFileName = "UserSetup.exe";
inline constexpr const char* kBackupFolderName = "Uninstall.bak";

// Every kind of entry: a new kind is a type of its own (changes/) and one
// more name here.
using RecordEntry =
    std::variant<RunStarted, RunFinished, RunRolledBack, FolderCreated, FilePlaced, FileWrote,
                 SupportFilePlaced, DemandLoadWritten, TrustedPathsWritten, MachineKeyWritten>;

// One line of the record, with its line break; text fields are taken from
// the code page to UTF-8.
std::string EncodeRecordLine(const ICodePage& codePage, const RecordEntry& entry);
// An entry from a line without its line break; nothing for a damaged one.
std::optional<RecordEntry> DecodeRecordLine(const ICodePage& codePage, const std::string& line);

// What the record was when its last run ended: its number of lines (the
// first included) and the XXH64 of those lines' bytes, kept where only
// administrators can write (anchor.h).
struct RecordSeal {
    std::uint64_t lines = 0;
    std::string hash;
    bool operator==(const RecordSeal&) const = default;
};

struct RecordContents {
    std::string id;  // the identifier on the first line (anchor.h)
    std::vector<RecordEntry> entries;
    bool lastLineCut = false;  // a last line without its line break was set aside
    RecordSeal seal;           // the record as it is: every whole line
};

enum class RecordState {
    Read,
    Missing,
    Damaged,  // this installation's, but a line fails its check, names a place it never
              // writes, or the record is not as its last run left it
    Foreign,  // not this installation's: not of its form, or another identifier
};

// Reads the record at `path`; `problem` says what is wrong with a damaged or
// foreign one. The identifier is read even when a later line is damaged.
// With `sealed`, the record must begin with exactly the lines it names.
RecordState ReadRecord(IFileSystem& files, const ICodePage& codePage, const std::string& path,
                       RecordContents& contents, std::string& problem,
                       const std::optional<RecordSeal>& sealed = std::nullopt);

// Appends the entries of one run to the record in a product folder,
// beginning the record when it is new, and keeps the backups of the files
// the run replaces there. Entries are staged and go to the disk together,
// with one flush, at Flush.
class RecordWriter {
public:
    // `id`: the identifier of the record (the one it has, when appending).
    RecordWriter(IFileSystem& files, const ICodePage& codePage, std::string productDir,
                 std::string id);
    // Begins a new record, with its first line, in place of any file of its
    // name (one this installation did not write), or appends to this
    // installation's own. kOk or the error.
    OsResult Begin(bool fresh);
    // Takes an entry for the next Flush.
    void Stage(const RecordEntry& entry);
    // Every staged entry on the disk, flushed: the changes they name may now
    // be made. kOk also when nothing was staged.
    OsResult Flush();
    // Stage and Flush: a group of one.
    OsResult Add(const RecordEntry& entry);
    // A new, unused path in the backup folder (made when missing), or "".
    std::string NewBackupPath();
    // The record as it stands on the disk, to seal it.
    OsResult Seal(RecordSeal& seal) const;

    const std::string& Path() const { return path_; }
    const std::string& ProductDir() const { return productDir_; }
    // Whether Begin made the file (a new record) rather than found it.
    bool Created() const { return created_; }
    // What this run has staged, oldest first (written or not).
    const std::vector<RecordEntry>& Added() const { return added_; }

private:
    IFileSystem& files_;
    const ICodePage& codePage_;
    std::string productDir_;
    std::string id_;
    std::string path_;
    std::vector<RecordEntry> added_;
    std::string staged_;
    int nextBackup_ = 1;
    bool created_ = false;
};

// The entries of the runs that were not rolled back, oldest first.
std::vector<RecordEntry> EntriesInForce(const std::vector<RecordEntry>& entries);

// Whether the last run of `entries` (in force) did not end; a record with no
// run in force is one whose run was cut short before it said it began.
bool LastRunInterrupted(const std::vector<RecordEntry>& entries);

}  // namespace vk
