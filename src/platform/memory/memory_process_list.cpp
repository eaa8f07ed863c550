#include "platform/memory/memory_process_list.h"

namespace vk::memory {

OsResult MemoryProcessList::ListProcesses(std::vector<RunningProcess>& processes) {
    processes.clear();
    if (faults_ != nullptr && faults_->ShouldFail("CreateToolhelp32Snapshot"))
        return kErrInjected;
    std::uint32_t id = 0;
    for (const std::string& name : names_)
        processes.push_back({name, id += 4});
    return kOk;
}

}  // namespace vk::memory
