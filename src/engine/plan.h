#pragma once
// The plan of an installation: every check that can refuse it, made before
// anything changes, in one order and with one wording for every front end
// (the wizard, the unattended run, the benchmark):
//   1. the install folder's rules (install_folder_check.h): its text, its
//      length, no link on the path, no folder standard users could change,
//      unless the person agreed to that one;
//   2. the releases: those asked for must be offered, and one at least;
//   3. the Data folder beside the setup program;
//   4. AutoCAD running, unless the person agreed to install all the same;
//   5. an earlier installation whose record is damaged.
// A refusal is a value: each front end shows it its own way (the wizard asks
// about a folder others could change; an unattended run ends with its code).
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/install_path_safety.h"
#include "engine/installation.h"
#include "platform/services.h"

namespace vk {

// What the front end chose, and what the person agreed to (or an unattended
// run's switches stand for).
struct InstallChoices {
    std::string typedFolder;                // as typed, or given with /DIR
    std::optional<std::vector<int>> years;  // asked for; none: every one offered
    std::vector<int> offered;               // the years offered on this machine (release_offer.h)
    std::vector<int> unserved;              // found, but the package lacks their module
    bool acadRunningAccepted = false;       // /ALLOWRUNNING, or the wizard's warning was given
    std::string acceptedReplaceable;        // a folder others could change, agreed to
};

struct Refusal {
    enum class Kind {
        NoData,
        InvalidFolder,
        ListSeparator,
        FolderTooLong,
        LinkOnPath,
        ReplaceableFolder,
        NoReleaseToServe,   // nothing on this machine that the package can install
        ReleaseNotOffered,  // a year asked for that is not offered
        AcadRunning,
        DamagedRecord,
    };
    Kind kind = Kind::NoData;
    std::string reason;               // in English, for the log
    std::string text;                 // what the person reads; a front end may add its own end
    ReplaceableFolder replaceable{};  // ReplaceableFolder: which, and why
};

struct InstallPlan {
    std::string folder;  // the chosen folder, checked, without its trailing backslash
    ReleaseSelection selected{};
    std::vector<int> years;
};

std::variant<InstallPlan, Refusal> PlanInstallation(const Services& services,
                                                    const InstallChoices& choices);

// The plan's first step alone (the install folder's rules), for a folder taken
// from elsewhere than a front end (the /LOADINF file): nothing, with `folder`
// the checked folder, or the refusal the plan would give.
std::optional<Refusal> CheckChosenFolder(const Services& services, const InstallChoices& choices,
                                         std::string& folder);

// "2018, 2021", for texts and the log.
std::string YearList(const std::vector<int>& years);

}  // namespace vk
