#include "app/user_setup_run.h"

#include <string>

#include "app/exit_codes.h"
#include "engine/active_setup.h"
#include "engine/per_user_steps.h"
#include "engine/user_hives.h"

namespace vk {

int RunUserSetup(const Services& services) {
    Log& log = services.log;
    std::string program;
    if (const OsResult result = services.files.GetModulePath(program); result != kOk) {
        log.Failed("find the stub's own folder", result);
        return kExitFinished;
    }
    const std::string productDir = program.substr(0, program.rfind('\\'));
    log.Info("Per-user setup for the current user, from " + productDir);
    const UserHive user = CurrentUserHive(services);
    const std::size_t profiles =
        RegisterTrustedPathsFor(services, user, productDir, nullptr, ListHoldingIt::Left);
    const std::string entry = "HKCU\\" + std::string(kRunKey) + "\\" + kRunValueName;
    if (profiles == 0) {
        // Nothing for a user who has not started AutoCAD yet: it all waits.
        const OsResult result = SetOwnRunEntry(services, UserSetupCommand(productDir));
        if (result != kOk)
            log.Failed("write " + entry, result);
        else
            log.Info("No AutoCAD profile yet: " + entry + " runs this again at the next logon");
    } else {
        PlaceSettingsFile(services, user, productDir, nullptr);
        if (const OsResult result = RemoveOwnRunEntry(services); result != kOk)
            log.Failed("remove " + entry, result);
    }
    log.Info("Per-user setup finished");
    return kExitFinished;
}

}  // namespace vk
