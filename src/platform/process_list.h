#pragma once
// The running processes, as a Toolhelp snapshot lists them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os_error.h"

namespace vk {

struct RunningProcess {
    std::string exeName;  // szExeFile: the executable's file name
    std::uint32_t id = 0;
};

class IProcessList {
public:
    virtual ~IProcessList() = default;
    // Every running process, in the snapshot's order. A snapshot that cannot
    // be taken is a failure.
    virtual OsResult ListProcesses(std::vector<RunningProcess>& processes) = 0;

    // The executable file names alone, in the same order.
    OsResult ListExecutableNames(std::vector<std::string>& names) {
        names.clear();
        std::vector<RunningProcess> processes;
        const OsResult result = ListProcesses(processes);
        for (const RunningProcess& process : processes)
            names.push_back(process.exeName);
        return result;
    }
};

}  // namespace vk
