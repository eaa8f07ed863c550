#pragma once
// The installation record: one line per change, written before the change is
// made, so that a run cut short still leaves a true record of what it may
// have done. Uninstall and rollback undo it, newest line first.
//
// The file is UTF-8 text: a first line naming the format, then one line per
// entry: its kind and its fields, separated by tabs (a tab, line break or
// backslash inside a field is written \t, \n, \r or \\), and last "#" with
// the CRC-32 of everything before it on the line, in eight hexadecimal
// digits. A line that fails its check, or an unknown kind, makes the whole
// record damaged: it is never guessed at. Only a last line without its line
// break is set aside: its change had not begun when the run was cut short.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_system.h"

namespace vk {

// The setup's own files in the product folder.
inline constexpr const char* kRecordFileName = "Uninstall.rec";
inline constexpr const char* kUninstallerFileName = "Uninstall.exe";
inline constexpr const char* kBackupFolderName = "Uninstall.bak";

// A registry value as it was: its name, type and bytes.
struct RecordedValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const RecordedValue&) const = default;
};

// A run of the installation begins; later entries belong to it.
struct RunStarted {
    std::string installDir;
    std::string version;
    bool operator==(const RunStarted&) const = default;
};
// The run before this one was rolled back: its entries are undone already.
struct RunRolledBack {
    bool operator==(const RunRolledBack&) const = default;
};
struct FolderCreated {
    std::string path;
    bool operator==(const FolderCreated&) const = default;
};
// A file the installation wrote, with what it wrote; `backup` holds the file
// that was there before (empty: there was none).
struct FileWritten {
    std::string path;
    std::uint64_t size = 0;
    std::string hash;
    std::string backup;
    bool operator==(const FileWritten&) const = default;
};
// A font or plotter file in an AutoCAD folder, whether one was there, and
// the backup of the one it replaced (empty: none was, or it was the same).
struct SupportFilePlaced {
    std::string path;
    std::uint64_t size = 0;
    std::string hash;
    bool existed = false;
    std::string backup;
    bool operator==(const SupportFilePlaced&) const = default;
};
// A demand-load key below a product key of HKEY_LOCAL_MACHINE, the LOADER it
// got, and the key as it was: absent (and whether its parent was made), or
// its values.
struct DemandLoadWritten {
    std::string productKey;
    std::string appKey;
    std::string loader;
    bool existed = false;
    bool parentCreated = false;
    std::vector<RecordedValue> oldValues;
    bool operator==(const DemandLoadWritten&) const = default;
};
// A profile's TRUSTEDPATHS: the value as it was (absent, or its type and
// data) and what was written, and whether its Variables key was made.
// `user` is empty for the user who ran the installation.
struct TrustedPathsWritten {
    std::string user;
    std::string variablesKey;
    std::string folder;  // the install folder the entry names
    bool keyCreated = false;
    std::optional<RecordedValue> before;
    RecordedValue written;
    bool operator==(const TrustedPathsWritten&) const = default;
};

using RecordEntry = std::variant<RunStarted, RunRolledBack, FolderCreated, FileWritten,
                                 SupportFilePlaced, DemandLoadWritten, TrustedPathsWritten>;

// One line of the record, with its line break; text fields are taken from
// the code page to UTF-8.
std::string EncodeRecordLine(const ICodePage& codePage, const RecordEntry& entry);
// An entry from a line without its line break; nothing for a damaged one.
std::optional<RecordEntry> DecodeRecordLine(const ICodePage& codePage, const std::string& line);

struct RecordContents {
    std::string id;  // the identifier on the first line (record_anchor.h)
    std::vector<RecordEntry> entries;
    bool lastLineCut = false;  // a last line without its line break was set aside
};

enum class RecordState {
    Read,
    Missing,
    Damaged,  // this installation's, but a line fails its check or names a place it never writes
    Foreign,  // not this installation's: not of its form, or another identifier
};

// Reads the record at `path`; `problem` says what is wrong with a damaged or
// foreign one. The identifier is read even when a later line is damaged.
RecordState ReadRecord(IFileSystem& files, const ICodePage& codePage, const std::string& path,
                       RecordContents& contents, std::string& problem);

// Appends the entries of one run to the record in a product folder,
// beginning the record when it is new, and keeps the backups of the files
// the run replaces there.
class RecordWriter {
public:
    // `id`: the identifier of the record (the one it has, when appending).
    RecordWriter(IFileSystem& files, const ICodePage& codePage, std::string productDir,
                 std::string id);
    // Begins a new record, with its first line, in place of any file of its
    // name (one this installation did not write), or appends to this
    // installation's own. kOk or the error.
    OsResult Begin(bool fresh);
    // kOk once the line is on the disk; the change may then be made.
    OsResult Add(const RecordEntry& entry);
    // A new, unused path in the backup folder (made when missing), or "".
    std::string NewBackupPath();

    const std::string& Path() const { return path_; }
    const std::string& ProductDir() const { return productDir_; }
    // Whether Begin made the file (a new record) rather than found it.
    bool Created() const { return created_; }
    // What this run has added, oldest first.
    const std::vector<RecordEntry>& Added() const { return added_; }

private:
    IFileSystem& files_;
    const ICodePage& codePage_;
    std::string productDir_;
    std::string id_;
    std::string path_;
    std::vector<RecordEntry> added_;
    int nextBackup_ = 1;
    bool created_ = false;
};

// A registry value's text (UTF-16) as the record keeps it: little-endian
// code units, no NUL; and back.
std::string WideTextBytes(const std::u16string& text);
std::u16string WideTextOf(const std::string& bytes);

// The entries of the runs that were not rolled back, oldest first.
std::vector<RecordEntry> EntriesInForce(const std::vector<RecordEntry>& entries);

}  // namespace vk
