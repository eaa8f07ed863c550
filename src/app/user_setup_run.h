#pragma once
// The per-user stub (/USERSETUP): Windows runs it as each user at logon
// (Active Setup, or the user's Run key), without elevation. It gives the
// current user the per-user steps of the installation in the folder it runs
// from, and changes nothing else: only the user's own hive and folders. It
// asks nothing (the front end hands in answering prompts) and may run any
// number of times; a second run changes nothing. A user without an AutoCAD
// profile yet gets the stub into their Run key, so that it comes back at
// each logon, and out of it again once a profile has been served.
#include "platform/services.h"

namespace vk {

// Always kExitFinished: what could not be done is in the log.
int RunUserSetup(const Services& services);

}  // namespace vk
