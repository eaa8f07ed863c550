#pragma once
// The installation engine: the whole installation in its fixed order, for
// every front end (the install page, the unattended run) and every test.
//   1. an earlier installation in another folder is removed, as its
//      uninstall would; one in the same folder is updated in place (only an
//      installation whose record is its own: record_anchor.h);
//   2. a new record's identifier goes into the machine's registry; every
//      missing level of the chosen folder and the product folder below it
//      are created, each protected from the start (a product folder that was
//      there is protected anew), and the installation record opened there;
//   3. the add-in's files are deployed from Data (stepping the progress);
//   4. the demand-load keys of every selected year;
//   5. the support files in AutoCAD's folders;
//   6. the uninstaller, the Apps & Features entry and the Active Setup
//      component that gives users who sign in later their own steps;
//   7. the trusted paths of every user whose hive is loaded, and the
//      settings file of the account running the installation (unless it is
//      SYSTEM, whose profile no AutoCAD user has). Other users' folders are
//      theirs: the per-user stub, run as each user, gives them theirs.
// Every change is entered in the record before it is made. Steps 1 and 2
// can refuse the folder before anything changed in it, and the deployment
// can stop the installation: a copy failure answered Abort rolls back all
// this run did. Every step writes to the services' log, and every step that
// fails is counted there.
#include <array>
#include <cstddef>
#include <string>

#include "acad/release_catalog.h"
#include "engine/deploy.h"
#include "engine/events.h"
#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

// The product folder that the installation appends to the chosen folder.
inline constexpr const char* kProductFolderName = "Varnok批打印软件";

using ReleaseSelection = std::array<int, kReleaseSlots>;  // nonzero: selected, 2007 first

struct InstallRequest {
    std::string folder;  // the chosen folder, checked, without a trailing backslash
    ReleaseSelection selected{};
    IProgress* progress = nullptr;  // stepped as the installation goes; may be null
    CopyFailurePolicy copyFailures = CopyFailurePolicy::AskUser;
    // What is asked of the front end; null: the progress above, the setup's
    // message boxes and the policy (PromptingEvents).
    InstallEvents* events = nullptr;
    std::string version{};      // for Apps & Features, e.g. "2023.5.26"
    std::string installDate{};  // YYYYMMDD, for Apps & Features
    // Under SYSTEM, whose own profile no AutoCAD user has: no settings file for it.
    bool runsAsSystem = false;
    // A folder of the path that standard users could replace, which the person
    // at the screen agreed to install below all the same (empty: none).
    std::string acceptedReplaceable{};
    // The logon program's bytes (kLogonProgramFileName), which this program
    // carries; empty: none to place, and the failure is logged.
    std::string logonProgram{};
};

enum class InstallResult {
    Completed,             // ran to its end (failed steps, if any, are counted)
    MissingData,           // no Data folder: said so; nothing but the folders and the record made
    Aborted,               // a copy failed and was answered Abort: rolled back, and said so
    FolderRefused,         // a folder or the record could not be made: said so, nothing changed
    EarlierRecordDamaged,  // an earlier installation's record is damaged: said so, nothing changed
};

struct InstallOutcome {
    InstallResult result = InstallResult::Completed;
    std::string installDir;       // the chosen folder followed by the product folder
    std::size_t failedSteps = 0;  // steps that failed, ignored copies included
};

// The chosen folder followed by "\Varnok批打印软件".
std::string InstallDirOf(const std::string& folder);

InstallOutcome RunInstallation(const Services& services, CAcadReleaseCatalog& catalog,
                               const InstallRequest& request);

}  // namespace vk
