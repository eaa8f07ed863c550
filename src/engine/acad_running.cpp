#include "engine/acad_running.h"

#include <vector>

#include "core/mbcs.h"

namespace vk {

std::optional<RunningProcess> FindRunningAcad(const Services& services) {
    const std::string target = services.codePage.ToLower("acad.exe");
    std::vector<RunningProcess> processes;
    if (services.processes.ListProcesses(processes) != kOk)
        return std::nullopt;
    for (const RunningProcess& process : processes) {
        if (FindText(services.codePage, services.codePage.ToLower(process.exeName), target) !=
            kNoPos) {
            return process;
        }
    }
    return std::nullopt;
}

std::string Described(const RunningProcess& process) {
    return process.exeName + " (process " + std::to_string(process.id) + ")";
}

}  // namespace vk
