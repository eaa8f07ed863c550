#pragma once
// The unattended installation (/SILENT, /VERYSILENT): everything the wizard
// would ask is taken from the command line, and everything that can be
// checked is checked before anything changes, so that a run ending 1 or 7
// leaves the machine as it was. Portable: the front end hands in the
// services (with answering prompts under /SUPPRESSMSGBOXES) and a progress.
#include <string>

#include "acad/release_catalog.h"
#include "app/command_line.h"
#include "engine/installation.h"
#include "engine/plan.h"
#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

struct UnattendedRun {
    const SetupOptions& options;
    IProgress* progress = nullptr;
    // Under SYSTEM (for the log: its own profile, which no AutoCAD user has,
    // is never among the users who get the per-user steps).
    bool runsAsSystem = false;
    std::string today{};         // YYYYMMDD, for Apps & Features
    std::string logonProgram{};  // the logon program's bytes (InstallRequest)
};

// The wizard's first folder, also the unattended run's.
inline constexpr const char* kDefaultInstallFolder = "C:\\Varnok";

// The folder an installation starts from: an earlier installation's (found
// by its Apps & Features entry), else the default.
std::string StartingInstallFolder(const Services& services);

// Discovery has run. The exit code (see exit_codes.h).
int RunUnattended(const Services& services, CAcadReleaseCatalog& catalog, const UnattendedRun& run);

// The choices the command line (or the answer file) makes: /DIR or the
// starting folder, /RELEASES, /ALLOWRUNNING, and the releases offered here.
InstallChoices ChoicesOf(const Services& services, const CAcadReleaseCatalog& catalog,
                         const SetupOptions& options);

// A refusal as an unattended run shows it: the plan's words, and how to
// choose otherwise on the command line.
std::string UnattendedText(const Refusal& refusal);

// A stop: `reason` in English for the log ("Stopped: ..."), then `text` for
// the person at the screen, if there is one (the prompts log it once, shown or
// not); answers `exitCode`.
int Tell(const Services& services, const std::string& reason, const std::string& text,
         unsigned type, int exitCode);

}  // namespace vk
