#pragma once
// Undoing what the installation record says, newest change first: the same
// code for an uninstall and for the rollback of an aborted installation. A
// change is taken back only while what it made is still what it made; what
// somebody changed since is kept, and the report says so.
#include <string>
#include <vector>

#include "engine/install_record.h"
#include "platform/services.h"

namespace vk {

struct UndoReport {
    std::vector<std::string> kept;        // left on purpose: changed since, or another's
    std::vector<std::string> notRemoved;  // could not be taken back (a failure)
};

// Undoes `entries` (oldest first, as recorded) newest first, except the
// creation of `productDir` and of the folders above it: those wait for
// RemoveProductFolder, since the record (and a running uninstaller) live there.
void UndoChanges(const Services& services, const std::vector<RecordEntry>& entries,
                 const std::string& productDir, UndoReport& report);

// Removes the setup's own files from `productDir` (the record, the backups,
// the uninstaller), then the product folder and the folders above it that
// `entries` created, each only when it is empty.
void RemoveProductFolder(const Services& services, const std::vector<RecordEntry>& entries,
                         const std::string& productDir, UndoReport& report);

}  // namespace vk
