#pragma once
// The installation engine: the whole installation in its fixed order, for
// every front end (the install page, the unattended run) and every test.
//   1. the chosen folder and the product folder below it are created;
//   2. the add-in's files are deployed from Data (stepping the progress);
//   3. the demand-load keys of every selected year, then the trusted paths;
//   4. the support files in AutoCAD's folders.
// Only the deployment can stop it. Every step writes to the services' log,
// and every step that fails is counted there.
#include <array>
#include <cstddef>
#include <string>

#include "acad/release_catalog.h"
#include "install/deploy.h"
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
    // The trusted paths and the settings file belong to the account that runs
    // the installation; false when that is SYSTEM, whose profile no AutoCAD
    // user has.
    bool perUserSteps = true;
};

enum class InstallResult {
    Completed,    // ran to its end (failed steps, if any, are counted)
    MissingData,  // no Data folder: said so; nothing but the two folders made
    Aborted,      // a copy failed and was answered Abort
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
