#pragma once
// A sample machine for discovery tests: HKEY_LOCAL_MACHINE in memory and code
// page 936, with the other memory services to complete the bundle.
#include <ostream>
#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace vk::test {

inline const std::string kNativeRoot = "SOFTWARE\\Autodesk\\AutoCAD\\";
inline const std::string kWowRoot = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";

// One entry of the catalogue: its year, product key path and location.
struct FoundProduct {
    int year;
    std::string key;
    std::string location;
    bool operator==(const FoundProduct&) const = default;
};
void PrintTo(const FoundProduct& product, std::ostream* out);

class DiscoveryMachine {
public:
    explicit DiscoveryMachine(memory::FaultInjector* faults = nullptr) : registry(faults) {}

    // A product key below HKEY_LOCAL_MACHINE carrying both values.
    void AddProduct(const std::string& keyPath, const std::string& productName,
                    const std::string& location);
    // A catalogue over this machine's services.
    CAcadReleaseCatalog NewCatalog();
    // Runs discovery on a fresh catalogue and lists what it recorded, slot by
    // slot. Checks on the way that every opened key was closed and that both
    // lists of every slot have the same length.
    std::vector<FoundProduct> Discover();

    memory::MemoryRegistry registry;

private:
    memory::Cp936CodePage codePage_;
    memory::MemoryFileSystem files_;
    memory::MemoryProcessList processes_;
    memory::MemoryPrompts prompts_;
    memory::MemoryLog log_;
    memory::MemoryRandom random_;
};

}  // namespace vk::test
