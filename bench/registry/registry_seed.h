#pragma once
// Sample AutoCAD registries at any scale, written and removed through the
// registry service, so the same code seeds the memory registry natively and
// the real one under Wine.
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vk::bench {

inline const std::string kAutocadKey = "SOFTWARE\\Autodesk\\AutoCAD";
inline const std::string kAutodeskKey = "SOFTWARE\\Autodesk";
inline constexpr int kReleaseKeys = 18;

// One product key below HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD.
struct SampleProduct {
    std::string releaseKey;  // "R22.0"
    std::string productKey;  // "ACAD-1001:804"
    int year = 0;
    std::string location;  // AcadLocation
};

// The release key AutoCAD uses for `year` (2007 to 2024).
std::string ReleaseKeyOfYear(int year);

// Product `index` of a machine at scale: release key index % 18, a product
// key name of its own, a Chinese product name holding the release year.
SampleProduct ScaledProduct(int index);

// Writes the product key with "ProductName" and "AcadLocation".
void SeedProduct(IRegistry& registry, const SampleProduct& product);

// `count` products spread evenly over the 18 release keys.
void SeedProducts(IRegistry& registry, int count);

// `profiles` AutoCAD profiles of the current user, 10 per product key, each
// with a "TRUSTEDPATHS" list of `entries` folders. Returns the paths of their
// "Variables" keys below HKEY_CURRENT_USER.
std::vector<std::string> SeedProfiles(IRegistry& registry, int profiles, int entries);

bool KeyExists(IRegistry& registry, RegRoot root, const std::string& path);

// Deletes `path` below `root` with everything below it.
void DeleteTree(IRegistry& registry, RegRoot root, const std::string& path);

// True when neither root holds an AutoCAD key yet (else it says so): the
// benchmarks delete what they seed and must never delete anything else.
bool RegistryIsClean(IRegistry& registry);

// Removes, when asked and at the end of its life, what was seeded below one
// root: the AutoCAD key, and "SOFTWARE\Autodesk" too when seeding created it.
class SeedScope {
public:
    SeedScope(IRegistry& registry, RegRoot root);
    SeedScope(const SeedScope&) = delete;
    SeedScope& operator=(const SeedScope&) = delete;
    ~SeedScope() { Remove(); }

    void Remove();

private:
    IRegistry& registry_;
    RegRoot root_;
    bool ownsAutodesk_;
};

}  // namespace vk::bench
