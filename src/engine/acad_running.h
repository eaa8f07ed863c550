#pragma once
// Whether AutoCAD is running: a process whose executable name contains
// "acad.exe", without regard to case.
#include <optional>
#include <string>

#include "platform/services.h"

namespace vk {

// The first such process; none also when the process list cannot be taken.
std::optional<RunningProcess> FindRunningAcad(const Services& services);

inline bool IsAcadRunning(const Services& services) {
    return FindRunningAcad(services).has_value();
}

// "acad.exe (process 1234)", for the log.
std::string Described(const RunningProcess& process);

}  // namespace vk
