#pragma once
// Program file deployment: the add-in's files from "Data" into the install
// folder, three libraries renamed, the settings file into the user's
// application-data folder.
#include <string>

#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

struct DeployTarget {
    std::string m_strTargetDir;        // the install folder, no trailing backslash
    IProgress* m_pProgress = nullptr;  // stepped once per pass; not owned, may be null
};

// True when every entry of "Data" was handled (ignored copies included);
// false when "Data" is missing or the user chose Abort after a failed copy.
// Files already copied stay in place either way.
bool DeployProgramFiles(const Services& services, const DeployTarget& target);

}  // namespace vk
