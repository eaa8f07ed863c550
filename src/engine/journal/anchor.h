#pragma once
// What ties the installation record to this installation, kept in the Apps &
// Features key (below HKEY_LOCAL_MACHINE, where only administrators can
// write):
//   - RecordId: an identifier, random and new with each record, written
//     before the record's first change and onto the record's first line. A
//     record is this installation's only while the two match: one that
//     somebody put into a folder before the installation came, however well
//     formed, never is (nothing in it is undone or appended to).
//   - RecordSeal: the record's lines and hash as its last run left it
//     (record.h): a record cut short or changed since is damaged.
//   - PendingFolders: the folders a run is about to make before its record
//     exists (the record lives in the last of them), so that a run cut short
//     there leaves nothing behind either.
#include <optional>
#include <string>
#include <vector>

#include "engine/journal/record.h"
#include "platform/services.h"

namespace vk {

// Bytes of randomness in an identifier (written as twice as many hex digits).
inline constexpr std::size_t kRecordIdBytes = 16;

// A new identifier, or nothing (logged) when the system gives no random bytes.
std::optional<std::string> NewRecordId(const Services& services);

// Whether `text` has the form of an identifier.
bool IsRecordId(const std::string& text);

struct RecordAnchor {
    std::string id;
    std::optional<RecordSeal> seal;  // none until a run has ended
    std::vector<std::string> pendingFolders;
};

// The anchor in the Apps & Features key; nothing when it holds no identifier.
std::optional<RecordAnchor> ReadRecordAnchor(const Services& services);

// Writes the identifier and the product folder (InstallLocation) of a new
// record into the Apps & Features key, creating it, with no seal; the entry
// shows in Apps & Features only once the installation has written its name.
// kOk or the failure (logged).
OsResult WriteRecordAnchor(const Services& services, const std::string& id,
                           const std::string& productDir);

// The folders a run is about to make (none: the value goes). kOk or the
// failure (logged).
OsResult WritePendingFolders(const Services& services, const std::vector<std::string>& folders);

// The record as it stands once a run has ended. kOk or the failure (logged).
OsResult WriteRecordSeal(const Services& services, const RecordSeal& seal);

}  // namespace vk
