#pragma once
// What ties the installation record to this installation: an identifier,
// random and new with each record, written before the record's first change
// into the Apps & Features key (below HKEY_LOCAL_MACHINE, where only
// administrators can write) and onto the record's first line. A record is
// this installation's only while the two match. A record that somebody put
// into a folder before the installation came, however well formed, never
// is: nothing in it is undone or appended to.
#include <optional>
#include <string>

#include "platform/services.h"

namespace vk {

inline constexpr const char* kRecordIdValue = "RecordId";
// Bytes of randomness in an identifier (written as twice as many hex digits).
inline constexpr std::size_t kRecordIdBytes = 16;

// A new identifier, or nothing (logged) when the system gives no random bytes.
std::optional<std::string> NewRecordId(const Services& services);

// Whether `text` has the form of an identifier.
bool IsRecordId(const std::string& text);

// The identifier of the installation's record, from the Apps & Features key.
std::optional<std::string> AnchoredRecordId(const Services& services);

// Writes the identifier and the product folder (InstallLocation) into the
// Apps & Features key, creating it; the entry shows in Apps & Features only
// once the installation has written its name. kOk or the failure (logged).
OsResult WriteRecordAnchor(const Services& services, const std::string& id,
                           const std::string& productDir);

}  // namespace vk
