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
#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

struct UnattendedRun {
    const SetupOptions& options;
    IProgress* progress = nullptr;
    // Under SYSTEM (for the log: its own profile, which no AutoCAD user has,
    // is never among the users who get the per-user steps).
    bool runsAsSystem = false;
    std::string today{};  // YYYYMMDD, for Apps & Features
};

// The wizard's first folder, also the unattended run's.
inline constexpr const char* kDefaultInstallFolder = "C:\\Varnok";

// The folder an installation starts from: an earlier installation's (found
// by its Apps & Features entry), else the default.
std::string StartingInstallFolder(const Services& services);

// Discovery has run. The exit code (see exit_codes.h).
int RunUnattended(const Services& services, CAcadReleaseCatalog& catalog, const UnattendedRun& run);

// The checks that the command line's choices get before anything changes,
// shared with a wizard run that was given them. Each answers kExitFinished
// when the choice stands, or the exit code that refuses it after saying why.

// /RELEASES (or every year offered) into `selected`.
int SelectReleases(const Services& services, const CAcadReleaseCatalog& catalog,
                   const SetupOptions& options, ReleaseSelection& selected);
// /DIR (or the default folder), checked as the install page checks it, into
// `folder` without its trailing backslash. A folder that standard users could
// replace is refused when nobody can be asked; a wizard leaves it to the
// install page, which asks.
int ResolveFolder(const Services& services, const SetupOptions& options, std::string& folder,
                  bool someoneToAsk = false);

// A stop: `reason` in English for the log ("Stopped: ..."), then `text` for
// the person at the screen, if there is one (the prompts log it once, shown or
// not); answers `exitCode`.
int Tell(const Services& services, const std::string& reason, const std::string& text,
         unsigned type, int exitCode);

}  // namespace vk
