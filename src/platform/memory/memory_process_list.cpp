#include "platform/memory/memory_process_list.h"

namespace vk::memory {

OsResult MemoryProcessList::ListExecutableNames(std::vector<std::string>& names) {
    names.clear();
    if (faults_ != nullptr && faults_->ShouldFail("CreateToolhelp32Snapshot"))
        return kErrInjected;
    names = names_;
    return kOk;
}

}  // namespace vk::memory
