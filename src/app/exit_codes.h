#pragma once
// The setup's exit codes. They mean what Inno Setup's mean, which the
// deployment tools of administrators already know.
#include "engine/installation.h"
#include "engine/plan.h"

namespace vk {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitCannotStart = 1;    // bad command line, bad /DIR, no Data, ...
inline constexpr int kExitCancelled = 2;      // before anything was installed
inline constexpr int kExitStepFailed = 4;     // installed, but a step failed
inline constexpr int kExitAborted = 5;        // a copy failed and was answered Abort
inline constexpr int kExitCannotProceed = 7;  // AutoCAD is running: worth trying again later
// No AutoCAD release on the machine that this package serves: trying again
// never helps (a deployment's requirement rule is the place for it). Beyond
// the codes Inno Setup uses.
inline constexpr int kExitNoReleaseToServe = 9;
// Another setup of this product runs: Windows Installer's "another
// installation is in progress", which Intune and Configuration Manager retry.
inline constexpr int kExitAnotherSetup = 1618;

// The exit code of an installation that ran.
inline int ExitCodeOf(const InstallOutcome& outcome) {
    switch (outcome.result) {
        case InstallResult::Completed:
            return outcome.failedSteps == 0 ? kExitFinished : kExitStepFailed;
        case InstallResult::MissingData:
        case InstallResult::FolderRefused:
        case InstallResult::EarlierRecordDamaged:
            return kExitCannotStart;
        case InstallResult::Aborted:
            return kExitAborted;
    }
    return kExitCannotStart;
}

// The exit code of a run the plan refused.
inline int ExitCodeOf(const Refusal& refusal) {
    switch (refusal.kind) {
        case Refusal::Kind::AcadRunning:
            return kExitCannotProceed;
        case Refusal::Kind::NoReleaseToServe:
            return kExitNoReleaseToServe;
        default:
            return kExitCannotStart;
    }
}

}  // namespace vk
