#pragma once
// Running processes from a Toolhelp snapshot (wide entries, names as GBK).
#include "platform/process_list.h"

namespace vk::win32 {

class Win32ProcessList : public IProcessList {
public:
    OsResult ListProcesses(std::vector<RunningProcess>& processes) override;
};

}  // namespace vk::win32
