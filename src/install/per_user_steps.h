#pragma once
// What each user of the machine gets of the installation: the install folder
// in the trusted paths of each of their AutoCAD profiles, and the settings
// file in their application-data folder. The installation gives it to every
// user whose hive is loaded; the per-user stub gives it to its own user at
// logon.
#include <string>

#include "install/install_record.h"
#include "install/trusted_paths_registration.h"
#include "install/user_hives.h"
#include "platform/services.h"

namespace vk {

// The settings file from `productDir` into the user's application-data
// folder, only where the user has none: an existing one is the user's own.
// Entered in `record` first (null: nothing is recorded).
void PlaceSettingsFile(const Services& services, const UserHive& hive,
                       const std::string& productDir, RecordWriter* record);

// The trusted paths (RegisterTrustedPathsFor), then the settings file.
void ApplyPerUserSteps(const Services& services, const UserHive& hive,
                       const std::string& productDir, RecordWriter& record);

// The steps for every user whose hive is loaded now (LoadedUserHives).
void ApplyToLoadedUsers(const Services& services, const std::string& productDir,
                        RecordWriter& record);

}  // namespace vk
