#pragma once
// The machine-wide keys the installation writes (Apps & Features, Active Setup).
#include "core/reg_key.h"
#include "platform/services.h"

namespace vk {

// Opens HKEY_LOCAL_MACHINE\`path` for writing, creating it when missing; a
// failure is logged.
OsResult CreateMachineKey(const Services& services, const char* path, RegKey& key);

}  // namespace vk
