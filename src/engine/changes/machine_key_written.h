#pragma once
// A key below HKEY_LOCAL_MACHINE that the installation writes whole: the Apps
// & Features entry and the Active Setup component. The line holds the key as
// it was (absent, or every value); taken back, the key is as it was again.
#include <optional>
#include <string>
#include <vector>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct MachineKeyWritten {
    static constexpr const char* kKind = "machinekey";
    std::string key;
    bool existed = false;
    std::vector<RecordedValue> oldValues;

    void Encode(LineWriter& line) const { line.Text(key).Flag(existed).Values(oldValues); }
    static std::optional<MachineKeyWritten> Decode(LineReader& in) {
        MachineKeyWritten e;
        return in.Text(e.key) && in.Flag(e.existed) && in.Values(e.oldValues) && in.Done()
                   ? std::optional(e)
                   : std::nullopt;
    }
    // The key as it is now, to be written before it changes; nothing (logged)
    // when it cannot be read whole.
    static std::optional<MachineKeyWritten> Capture(const Services& services, const char* key);
    void Undo(UndoContext& context) const;
    bool operator==(const MachineKeyWritten&) const = default;
};

}  // namespace vk
