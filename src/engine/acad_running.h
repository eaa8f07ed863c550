#pragma once
// Whether AutoCAD is running: a process whose executable name contains
// "acad.exe", without regard to case.
#include "platform/services.h"

namespace vk {

// False also when the process list cannot be taken.
bool IsAcadRunning(const Services& services);

}  // namespace vk
