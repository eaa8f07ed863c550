#include "discovery_support.h"

#include <gtest/gtest.h>

namespace vk::test {

void PrintTo(const FoundProduct& product, std::ostream* out) {
    *out << "{" << product.year << ", \"" << product.key << "\", \"" << product.location << "\"}";
}

void DiscoveryMachine::AddProduct(const std::string& keyPath, const std::string& productName,
                                  const std::string& location) {
    registry.SetStringValue(RegRoot::LocalMachine, keyPath, "ProductName", productName);
    registry.SetStringValue(RegRoot::LocalMachine, keyPath, "AcadLocation", location);
}

CAcadReleaseCatalog DiscoveryMachine::NewCatalog() {
    return CAcadReleaseCatalog(
        Services{registry, files_, processes_, prompts_, codePage_, log_, random_});
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
