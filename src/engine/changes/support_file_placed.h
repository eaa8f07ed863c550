#pragma once
// A font or the plotter file in an AutoCAD folder's Fonts or Drv, whether a
// file of that name was there, and the backup of the one it replaced. Taken
// back as a placed file (file_placed.h), and only in the folders of the
// AutoCAD releases that discovery finds at the time.
#include <optional>
#include <string>

#include "engine/changes/file_placed.h"

namespace vk {

struct SupportFilePlaced {
    static constexpr const char* kKind = "support";
    std::string path;
    bool existed = false;
    std::string backup;
    std::uint32_t attributes = 0;  // of the file it replaces, put back with it

    void Encode(LineWriter& line) const {
        line.Text(path).Flag(existed).Text(backup).Number(attributes);
    }
    static std::optional<SupportFilePlaced> Decode(LineReader& in) {
        SupportFilePlaced e;
        return in.Text(e.path) && in.Flag(e.existed) && in.Text(e.backup) &&
                       in.Count(e.attributes) && in.Done()
                   ? std::optional(e)
                   : std::nullopt;
    }
    void Undo(UndoContext& context) const {
        if (context.InAcadFolder(path))
            UndoPlacedFile(context, path, backup, attributes, existed);
    }
    bool operator==(const SupportFilePlaced&) const = default;
};

}  // namespace vk
