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

    OsResult ListExecutableNames(std::vector<std::string>& names) override;

    void SetExecutableNames(std::vector<std::string> names) { names_ = std::move(names); }

private:
    FaultInjector* faults_;
    std::vector<std::string> names_;
};

}  // namespace vk::memory
