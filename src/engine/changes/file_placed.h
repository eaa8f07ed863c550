#pragma once
// A file the installation places by name (file_ops.h's PlaceCopy): a file
// of the add-in, the uninstaller, or the settings file of the account it ran
// as. Before the copy, "file" names it and the backup of the file it replaces
// (empty: there was none); once written, "wrote" says what it holds. Taken
// back: a file the run created goes, a file it replaced comes back from its
// backup, each only while it holds what the run wrote, unless the run was
// interrupted (then it was being written, whatever it holds).
#include <cstdint>
#include <optional>
#include <string>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct FilePlaced {
    static constexpr const char* kKind = "file";
    std::string path;
    std::string backup;
    std::uint32_t attributes = 0;  // of the file it replaces, put back with it

    void Encode(LineWriter& line) const { line.Text(path).Text(backup).Number(attributes); }
    static std::optional<FilePlaced> Decode(LineReader& in) {
        FilePlaced e;
        return in.Text(e.path) && in.Text(e.backup) && in.Count(e.attributes) && in.Done()
                   ? std::optional(e)
                   : std::nullopt;
    }
    void Undo(UndoContext& context) const;
    bool operator==(const FilePlaced&) const = default;
};

// What a placed file (a "file" or "support" line before it) holds once written.
struct FileWrote {
    static constexpr const char* kKind = "wrote";
    std::string path;
    std::uint64_t size = 0;
    std::string hash;

    void Encode(LineWriter& line) const { line.Text(path).Number(size).Text(hash); }
    static std::optional<FileWrote> Decode(LineReader& in) {
        FileWrote e;
        return in.Text(e.path) && in.Count(e.size) && in.Text(e.hash) && in.Done()
                   ? std::optional(e)
                   : std::nullopt;
    }
    void Undo(UndoContext&) const {}  // its file's line does the work
    bool operator==(const FileWrote&) const = default;
};

// Takes back a placed file as FilePlaced says; `leaveIfNoBackup`: a file of
// that name was there before and was not backed up (kept: drawings may need it).
void UndoPlacedFile(UndoContext& context, const std::string& path, const std::string& backup,
                    std::uint32_t attributes, bool leaveIfNoBackup);

}  // namespace vk
