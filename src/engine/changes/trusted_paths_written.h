#pragma once
// A profile's TRUSTEDPATHS: the value as it was (absent, or its type and
// UTF-16 data) and what was written, and whether its Variables key was made.
// `user` is the SID of the hive below HKEY_USERS (empty: HKEY_CURRENT_USER,
// as records of earlier versions have it). Taken back while the user's hive
// is loaded: the old value while the list is as written, else only the
// add-in's entry out of it, every other entry kept in its order.
#include <optional>
#include <string>

#include "engine/changes/undo_context.h"
#include "engine/journal/record_line.h"

namespace vk {

struct TrustedPathsWritten {
    static constexpr const char* kKind = "trustedpaths";
    std::string user;
    std::string variablesKey;
    std::string folder;  // the install folder the entry names
    bool keyCreated = false;
    std::optional<RecordedValue> before;
    RecordedValue written;

    void Encode(LineWriter& line) const {
        line.Text(user).Text(variablesKey).Text(folder).Flag(keyCreated).Flag(before.has_value());
        if (before)
            line.Value(*before);
        line.Value(written);
    }
    static std::optional<TrustedPathsWritten> Decode(LineReader& in) {
        TrustedPathsWritten e;
        bool hadValue = false;
        if (!in.Text(e.user) || !in.Text(e.variablesKey) || !in.Text(e.folder) ||
            !in.Flag(e.keyCreated) || !in.Flag(hadValue)) {
            return std::nullopt;
        }
        if (hadValue && !in.Value(e.before.emplace()))
            return std::nullopt;
        return in.Value(e.written) && in.Done() ? std::optional(e) : std::nullopt;
    }
    void Undo(UndoContext& context) const;
    bool operator==(const TrustedPathsWritten&) const = default;
};

}  // namespace vk
