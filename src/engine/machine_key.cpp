#include "engine/machine_key.h"

#include <string>

namespace vk {

OsResult CreateMachineKey(const Services& services, const char* path, RegKey& key) {
    RegKey machine(services.registry);
    OsResult result = machine.OpenRoot(RegRoot::LocalMachine);
    if (result == kOk)
        result = key.Create(machine.Get(), path);
    if (result != kOk)
        services.log.Failed("create HKLM\\" + std::string(path), result);
    return result;
}

}  // namespace vk
