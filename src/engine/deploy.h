#pragma once
// Program file deployment: the add-in's files from "Data" into the install
// folder, three libraries renamed, the settings file into the user's
// application-data folder.
#include <string>

#include "engine/events.h"
#include "engine/journal/record.h"
#include "platform/file_system.h"
#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

struct DeployTarget {
    std::string m_strTargetDir;        // the install folder, no trailing backslash
    IProgress* m_pProgress = nullptr;  // stepped once per pass; not owned, may be null
    CopyFailurePolicy m_policy = CopyFailurePolicy::AskUser;
    // True: the settings file goes into this account's application-data
    // folder. False: into the install folder, from where the installation
    // and the per-user stub give it to each user.
    bool m_bSettingsToAppData = true;
    // The installation record: every file is entered, with a backup of what
    // it replaces, before it is copied. Null: nothing is recorded.
    RecordWriter* m_pRecord = nullptr;
    // What is asked of the front end; null: the progress above, the setup's
    // message boxes and the policy.
    InstallEvents* m_pEvents = nullptr;
};

enum class DeployOutcome {
    Done,         // every entry of Data handled (ignored copies included)
    MissingData,  // no Data folder: said so, nothing copied
    Aborted,      // a copy failed and was answered Abort
};

// Files already copied stay in place whatever the outcome. Every copy, and
// every copy given up on, goes into the services' log.
DeployOutcome DeployFiles(const Services& services, const DeployTarget& target);

// True when DeployFiles is Done.
inline bool DeployProgramFiles(const Services& services, const DeployTarget& target) {
    return DeployFiles(services, target) == DeployOutcome::Done;
}

// The name an entry of "Data" is deployed under in the install folder by an
// installation; empty for an entry that goes elsewhere or nowhere.
std::string InstallFolderNameOf(const ICodePage& cp, const FindEntry& entry);

}  // namespace vk
