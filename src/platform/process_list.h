#pragma once
// The running processes, as a Toolhelp snapshot lists them.
#include <string>
#include <vector>

#include "platform/os_error.h"

namespace vk {

class IProcessList {
public:
    virtual ~IProcessList() = default;
    // The executable file name (szExeFile) of every running process, in the
    // snapshot's order. A snapshot that cannot be taken is a failure.
    virtual OsResult ListExecutableNames(std::vector<std::string>& names) = 0;
};

}  // namespace vk
