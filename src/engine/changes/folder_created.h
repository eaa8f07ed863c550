#pragma once
// A folder the installation made: the product folder or one above it (taken
// back last, when the product folder is removed), or the settings folder in
// the application-data folder of the account it ran as.
#include <optional>
#include <string>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct FolderCreated {
    static constexpr const char* kKind = "folder";
    std::string path;

    void Encode(LineWriter& line) const { line.Text(path); }
    static std::optional<FolderCreated> Decode(LineReader& in) {
        FolderCreated e;
        return in.Text(e.path) && in.Done() ? std::optional(e) : std::nullopt;
    }
    // Removed while empty; the product folder and those above it wait for
    // the removal of the product folder (the record lives there).
    void Undo(UndoContext& context) const {
        if (!context.HoldsProductFolder(path) && context.IsOwnSettings(path))
            context.RemoveFolder(path);
    }
    bool operator==(const FolderCreated&) const = default;
};

}  // namespace vk
