#pragma once
// A process list a test sets: the executable names a snapshot would show.
#include <string>
#include <vector>

#include "platform/memory/fault_injector.h"
#include "platform/process_list.h"

namespace vk::memory {

class MemoryProcessList : public IProcessList {
public:
    // Fault name: "CreateToolhelp32Snapshot". Empty from the start.
    explicit MemoryProcessList(FaultInjector* faults = nullptr) : faults_(faults) {}

    OsResult ListProcesses(std::vector<RunningProcess>& processes) override;

    // The processes a snapshot shows, numbered 4, 8, 12, ... as Windows numbers them.
    void SetExecutableNames(std::vector<std::string> names) { names_ = std::move(names); }

private:
    FaultInjector* faults_;
    std::vector<std::string> names_;
};

}  // namespace vk::memory
