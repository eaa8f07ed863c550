#pragma once
// What each user of the machine gets of the installation: the install folder
// in the trusted paths of each of their AutoCAD profiles, and the settings
// file in their application-data folder. The installation gives the trusted
// paths (registry values) to every user whose hive is loaded, and the
// settings file only to the account it runs as: a folder another user
// controls is never written by the elevated process (a link or a share of
// theirs would take the write elsewhere, or the machine's credentials to
// their server). The per-user stub, run as each user at logon, gives the
// user both.
#include <string>

#include "engine/journal/record.h"
#include "engine/trusted_paths_registration.h"
#include "engine/user_hives.h"
#include "platform/services.h"

namespace vk {

// The settings file from `productDir` into the user's application-data
// folder, only where the user has none: an existing one is the user's own.
// Entered in `record` first (null: nothing is recorded).
void PlaceSettingsFile(const Services& services, const UserHive& hive,
                       const std::string& productDir, RecordWriter* record);

// The trusted paths (RegisterTrustedPathsFor) of every user whose hive is
// loaded now (LoadedUserHives).
void ApplyToLoadedUsers(const Services& services, const std::string& productDir,
                        RecordWriter& record);

// The settings file of the account the installation runs as, unless it is
// SYSTEM; other users get theirs from the per-user stub at their next logon.
void PlaceOwnSettingsFile(const Services& services, const std::string& productDir,
                          bool runsAsSystem, RecordWriter& record);

}  // namespace vk
