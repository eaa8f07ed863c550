#pragma once
// The product folder's security, and that of every folder of the chosen
// path that the setup makes itself. Under a drive root a new folder would
// inherit the root's rights, which let every signed-in user create and change
// files there; an existing folder could carry anything.
#include <string>

#include "platform/services.h"

namespace vk {

// Owner Administrators; full control (FA) for SYSTEM and Administrators, read
// and execute (0x1200A9: FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) for Users,
// each inherited by files and subfolders (OICI); protected (P): nothing
// inherited from the parent.
inline constexpr const char* kProtectedFolderSddl =
    "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// What an entry found inside a protected folder gets: owner Administrators
// and only the rights it inherits from that folder. Whatever rights its maker
// gave it are dropped.
inline constexpr const char* kInheritingEntrySddl = "O:BAD:";

// Creates one level with kProtectedFolderSddl from the start, and says so in
// the log; kOk or the failure (logged).
OsResult CreateProtectedFolder(const Services& services, const std::string& folder);

// Applies kProtectedFolderSddl to `folder`, then kInheritingEntrySddl to
// everything already inside it. Links inside are neither changed nor
// followed (a descriptor set on a link lands on its target). Each step is
// logged; a failure is logged as Failed, counted, and does not stop the
// installation. False when the folder itself could not be protected.
bool ProtectFolder(const Services& services, const std::string& folder);

}  // namespace vk
