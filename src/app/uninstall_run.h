#pragma once
// The uninstall (/UNINSTALL): asks, warns about a running AutoCAD, then
// undoes what the installation record says, newest change first, and
// removes the Apps & Features entry. The product folder itself is emptied
// and removed afterwards by FinishUninstall, once the uninstaller that was
// started from it has ended. Portable: the front end hands in the services
// (with answering prompts under /SUPPRESSMSGBOXES).
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/journal/record.h"
#include "platform/services.h"

namespace vk {

struct UninstallRun {
    const SetupOptions& options;
    std::string productDir;
};

// The exit code: 0 removed, 1 no sound record (nothing removed), 2 not
// confirmed, 4 something could not be removed, 7 AutoCAD runs (unattended).
// `entries` receives the record's entries for FinishUninstall.
int RunUninstall(const Services& services, const UninstallRun& run,
                 std::vector<RecordEntry>& entries);

// The setup's own files, the product folder and the folders above it that
// the installation made, each when empty.
void FinishUninstall(const Services& services, const std::string& productDir,
                     const std::vector<RecordEntry>& entries);

}  // namespace vk
