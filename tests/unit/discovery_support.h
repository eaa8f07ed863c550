#pragma once
// A sample machine for discovery tests: HKEY_LOCAL_MACHINE in memory, code
// page 936, and the other services, which discovery must never touch.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "platform/memory/cp936_codepage.h"
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
    explicit DiscoveryMachine(memory::FaultInjector* faults = nullptr);
    ~DiscoveryMachine();

    // A product key below HKEY_LOCAL_MACHINE carrying both values.
    void AddProduct(const std::string& keyPath, const std::string& productName,
                    const std::string& location);
    // A catalogue over this machine's registry and code page.
    CAcadReleaseCatalog NewCatalog();
    // Runs discovery on a fresh catalogue and lists what it recorded, slot by
    // slot. Checks on the way that every opened key was closed and that both
    // lists of every slot have the same length.
    std::vector<FoundProduct> Discover();

    memory::MemoryRegistry registry;
    memory::Cp936CodePage codePage;

private:
    struct Untouched;
    std::unique_ptr<Untouched> untouched_;
};

}  // namespace vk::test
