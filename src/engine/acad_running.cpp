#include "engine/acad_running.h"

#include "core/mbcs.h"

namespace vk {

bool IsAcadRunning(const Services& services) {
    const std::string target = services.codePage.ToLower("acad.exe");
    std::vector<std::string> names;
    if (services.processes.ListExecutableNames(names) != kOk)
        return false;
    for (const std::string& name : names) {
        if (FindText(services.codePage, services.codePage.ToLower(name), target) != kNoPos) {
            return true;
        }
    }
    return false;
}

}  // namespace vk
