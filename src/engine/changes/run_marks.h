#pragma once
// The marks of a run in the record: where it begins (with the product folder
// and the version it installs), that it ended, and that it was rolled back.
// A run without its end was interrupted: its changes are taken back whatever
// became of them. The entries of a rolled-back run are no longer in force.
#include <optional>
#include <string>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct RunStarted {
    static constexpr const char* kKind = "run";
    std::string installDir;
    std::string version;

    void Encode(LineWriter& line) const { line.Text(installDir).Text(version); }
    static std::optional<RunStarted> Decode(LineReader& in) {
        RunStarted e;
        return in.Text(e.installDir) && in.Text(e.version) && in.Done() ? std::optional(e)
                                                                           : std::nullopt;
    }
    void Undo(UndoContext&) const {}
    bool operator==(const RunStarted&) const = default;
};

struct RunFinished {
    static constexpr const char* kKind = "done";
    void Encode(LineWriter&) const {}
    static std::optional<RunFinished> Decode(LineReader& in) {
        return in.Done() ? std::optional(RunFinished{}) : std::nullopt;
    }
    void Undo(UndoContext&) const {}
    bool operator==(const RunFinished&) const = default;
};

struct RunRolledBack {
    static constexpr const char* kKind = "rolledback";
    void Encode(LineWriter&) const {}
    static std::optional<RunRolledBack> Decode(LineReader& in) {
        return in.Done() ? std::optional(RunRolledBack{}) : std::nullopt;
    }
    void Undo(UndoContext&) const {}
    bool operator==(const RunRolledBack&) const = default;
};

}  // namespace vk
