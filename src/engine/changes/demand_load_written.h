#pragma once
// A demand-load key below a product key of HKEY_LOCAL_MACHINE, the LOADER it
// got, and the key as it was: absent (and whether its parent "Applications"
// was made), or its values. Taken back while its LOADER is the add-in's (or
// whatever it holds, for an interrupted run): made anew, or given its old
// values again.
#include <optional>
#include <string>
#include <vector>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct DemandLoadWritten {
    static constexpr const char* kKind = "demandload";
    std::string productKey;
    std::string appKey;
    std::string loader;
    bool existed = false;
    bool parentCreated = false;
    std::vector<RecordedValue> oldValues;

    void Encode(LineWriter& line) const {
        line.Text(productKey).Text(appKey).Text(loader).Flag(existed).Flag(parentCreated);
        line.Values(oldValues);
    }
    static std::optional<DemandLoadWritten> Decode(LineReader& in) {
        DemandLoadWritten e;
        return in.Text(e.productKey) && in.Text(e.appKey) && in.Text(e.loader) &&
                       in.Flag(e.existed) && in.Flag(e.parentCreated) && in.Values(e.oldValues) &&
                       in.Done()
                   ? std::optional(e)
                   : std::nullopt;
    }
    void Undo(UndoContext& context) const;
    bool operator==(const DemandLoadWritten&) const = default;
};

}  // namespace vk
