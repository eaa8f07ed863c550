#pragma once
// Undoing what the installation record says, newest change first: the same
// code for an uninstall, the rollback of an aborted installation and the
// recovery of an interrupted one. Each entry takes itself back (changes/);
// a finished run's change only while it is still as the run left it, an
// interrupted run's whatever became of it.
#include <string>
#include <vector>

#include "engine/changes/undo_context.h"
#include "engine/journal/record.h"
#include "platform/services.h"

namespace vk {

// Undoes `entries` (in force, oldest first, as recorded) newest first,
// except what lives in the product folder for the uninstaller that may be
// running from it: its own file and the creation of `productDir` and of the
// folders above it, which wait for RemoveProductFolder.
void UndoChanges(const Services& services, const std::vector<RecordEntry>& entries,
                 const std::string& productDir, UndoReport& report);

// Takes back the uninstaller's file and removes the setup's record and
// backups from `productDir`, then the product folder and the folders above
// it that `entries` created, each only when it is empty.
void RemoveProductFolder(const Services& services, const std::vector<RecordEntry>& entries,
                         const std::string& productDir, UndoReport& report);

}  // namespace vk
