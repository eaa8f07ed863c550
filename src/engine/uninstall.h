#pragma once
// Taking an installation away by its record: what an uninstall does, and
// what an installation into another folder does first with the earlier one.
#include <string>
#include <vector>

#include "engine/journal/record.h"
#include "engine/undo.h"
#include "platform/services.h"

namespace vk {

struct RecordOfInstallation {
    RecordState state = RecordState::Missing;
    std::string id;                    // its identifier, when it is this installation's
    std::vector<RecordEntry> entries;  // the entries in force, oldest first
    std::string problem;               // what is wrong with a damaged or foreign record
};

// The record in `productDir`, this installation's only while its identifier
// is the one in the machine's registry (record_anchor.h), and sound only
// while every line names a place an installation writes (record_scope.h).
// A foreign record is logged as such.
RecordOfInstallation ReadInstallationRecord(const Services& services,
                                            const std::string& productDir);

// Undoes every change of the record and removes the Apps & Features entry;
// the product folder (where the record lives) is left for
// RemoveProductFolder (undo.h), which `removeFolder` runs at once.
void RemoveInstallation(const Services& services, const std::string& productDir,
                        const std::vector<RecordEntry>& entries, bool removeFolder,
                        UndoReport& report);

// The folders a new run was about to make before its record existed, or an
// uninstall was removing once its record was gone (the anchor names them):
// each goes while empty (the product folder with a record no run began).
void TakeBackPendingFolders(const Services& services);

// An uninstall of `productDir` cut short after it had removed the record:
// what it left (the folders it was removing, the Apps & Features entry)
// goes. True when there was such an uninstall to finish.
bool FinishRemovalCutShort(const Services& services, const std::string& productDir);

// The chosen folder of an installation into `productDir` ("C:\Varnok" of
// "C:\Varnok\Varnok批打印软件"; a drive root keeps its backslash).
std::string ChosenFolderOf(const ICodePage& codePage, const std::string& productDir);

}  // namespace vk
