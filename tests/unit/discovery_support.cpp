#include "discovery_support.h"

#include <gtest/gtest.h>

namespace vk::test {

namespace {

constexpr OsResult kUnused = kErrInvalidParameter;

class UntouchedFileSystem : public IFileSystem {
public:
    OsResult GetModulePath(std::string&) override { return Fail(); }
    OsResult FindFirst(const std::string&, FindHandle&, FindEntry&) override { return Fail(); }
    OsResult FindNext(FindHandle, FindEntry&) override { return Fail(); }
    OsResult FindClose(FindHandle) override { return Fail(); }
    std::uint32_t GetAttributes(const std::string&) override {
        Fail();
        return kInvalidAttributes;
    }
    OsResult SetAttributes(const std::string&, std::uint32_t) override { return Fail(); }
    OsResult CreateFolder(const std::string&) override { return Fail(); }
    OsResult CopyFile(const std::string&, const std::string&) override { return Fail(); }
    OsResult GetEnvironmentVariable(const std::string&, std::string&) override { return Fail(); }
    OsResult GetRoamingAppDataFolder(std::string&) override { return Fail(); }
    OsResult GetCurrentFolder(std::string&) override { return Fail(); }

private:
    static OsResult Fail() {
        ADD_FAILURE() << "discovery used the file system";
        return kUnused;
    }
};

class UntouchedProcesses : public IProcessList {
public:
    OsResult ListExecutableNames(std::vector<std::string>&) override {
        ADD_FAILURE() << "discovery listed processes";
        return kUnused;
    }
};

class UntouchedPrompts : public IPrompts {
public:
    WindowRef MainWindow() override { return 0; }
    int MessageBox(WindowRef, const std::string& text, const std::string&, unsigned) override {
        ADD_FAILURE() << "discovery showed a message: " << text;
        return kIdCancel;
    }
};

}  // namespace

struct DiscoveryMachine::Untouched {
    UntouchedFileSystem files;
    UntouchedProcesses processes;
    UntouchedPrompts prompts;
};

void PrintTo(const FoundProduct& product, std::ostream* out) {
    *out << "{" << product.year << ", \"" << product.key << "\", \"" << product.location << "\"}";
}

DiscoveryMachine::DiscoveryMachine(memory::FaultInjector* faults)
    : registry(faults), untouched_(std::make_unique<Untouched>()) {}

DiscoveryMachine::~DiscoveryMachine() = default;

void DiscoveryMachine::AddProduct(const std::string& keyPath, const std::string& productName,
                                  const std::string& location) {
    registry.SetStringValue(RegRoot::LocalMachine, keyPath, "ProductName", productName);
    registry.SetStringValue(RegRoot::LocalMachine, keyPath, "AcadLocation", location);
}

CAcadReleaseCatalog DiscoveryMachine::NewCatalog() {
    return CAcadReleaseCatalog(Services{registry, untouched_->files, untouched_->processes,
                                        untouched_->prompts, codePage});
}

std::vector<FoundProduct> DiscoveryMachine::Discover() {
    CAcadReleaseCatalog catalog = NewCatalog();
    catalog.DiscoverReleases();
    EXPECT_EQ(registry.OpenHandleCount(), 0u) << "a key was left open";

    std::vector<FoundProduct> found;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        const CStringList& keys = catalog.m_arrProductKeys[slot];
        const CStringList& locations = catalog.m_arrAcadLocations[slot];
        EXPECT_EQ(keys.size(), locations.size()) << "slot " << slot;
        for (std::size_t i = 0; i < keys.size() && i < locations.size(); ++i) {
            found.push_back({kFirstReleaseYear + slot, keys[i], locations[i]});
        }
    }
    return found;
}

}  // namespace vk::test
