#include "install/installation.h"

#include "install/install_paths.h"

namespace vk {
namespace {

void Step(const InstallRequest& request) {
    if (request.progress != nullptr)
        request.progress->Step();
}

}  // namespace

std::string InstallDirOf(const std::string& folder) {
    return JoinPath(folder, kProductFolderName);
}

InstallOutcome RunInstallation(const Services& services, CAcadReleaseCatalog& catalog,
                               const InstallRequest& request) {
    Log& log = services.log;
    const std::size_t failuresBefore = log.Failures();
    InstallOutcome outcome;
    outcome.installDir = InstallDirOf(request.folder);
    log.Info("Installing into " + outcome.installDir);

    // Each level is created on its own; whatever fails here makes the
    // deployment report the folder it cannot copy into.
    services.files.CreateFolder(request.folder);
    services.files.CreateFolder(outcome.installDir);

    const DeployOutcome deployed =
        DeployFiles(services, DeployTarget{outcome.installDir, request.progress,
                                           request.copyFailures, request.perUserSteps});
    if (deployed != DeployOutcome::Done) {
        outcome.result = deployed == DeployOutcome::MissingData ? InstallResult::MissingData
                                                                : InstallResult::Aborted;
        outcome.failedSteps = log.Failures() - failuresBefore;
        return outcome;
    }
    Step(request);

    catalog.m_strInstallDir = outcome.installDir;
    if (request.perUserSteps) {
        catalog.RegisterSelectedReleases(request.selected.data());
    } else {
        for (int slot = 0; slot < kReleaseSlots; ++slot) {
            if (request.selected[slot] != 0)
                catalog.RegisterDemandLoad(static_cast<unsigned>(kFirstReleaseYear + slot));
        }
        log.Skipped("trusted paths: not applied to this account's own AutoCAD profiles");
    }
    Step(request);
    catalog.CopySelectedSupportFiles(request.selected.data());
    Step(request);

    outcome.failedSteps = log.Failures() - failuresBefore;
    log.Info("Installation finished; failed steps: " + std::to_string(outcome.failedSteps));
    return outcome;
}

}  // namespace vk
