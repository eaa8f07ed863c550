#include "registry/registry_seed.h"

#include <cstdint>
#include <cstdio>

#include "core/reg_key.h"

namespace vk::bench {
namespace {

constexpr int kFirstYear = 2007;
constexpr int kProfilesPerProduct = 10;

// AutoCAD's release numbers, 2007 to 2024.
constexpr const char* kReleaseKeyNames[kReleaseKeys] = {
    "R17.0", "R17.1", "R17.2", "R18.0", "R18.1", "R18.2", "R19.0", "R19.1", "R20.0",
    "R20.1", "R21.0", "R22.0", "R23.0", "R23.1", "R24.0", "R24.1", "R24.2", "R24.3"};

std::string Printed(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

void SetString(IRegistry& registry, RegRoot root, const std::string& path, const std::string& name,
               const std::string& text) {
    RegKey rootKey(registry);
    RegKey key(registry);
    if (rootKey.OpenRoot(root) == kOk && key.Create(rootKey.Get(), path) == kOk) {
        registry.SetString(key.Get(), name, text);
    }
}

std::string TrustedList(int entries) {
    std::string list;
    for (int i = 0; i < entries; ++i) {
        if (i > 0)
            list += ';';
        // Mixed case and AutoCAD's "\..." marker, as real lists hold them.
        list += Printed(i % 3 == 0 ? "C:\\Tools\\Plugin%03d\\..." : "d:\\Work\\Lisp%03d", i);
    }
    return list;
}

}  // namespace

std::string ReleaseKeyOfYear(int year) {
    return kReleaseKeyNames[(year - kFirstYear) % kReleaseKeys];
}

SampleProduct ScaledProduct(int index) {
    SampleProduct product;
    const int release = index % kReleaseKeys;
    product.year = kFirstYear + release;
    product.releaseKey = kReleaseKeyNames[release];
    product.productKey = Printed("ACAD-%04d:804", 1000 + index / kReleaseKeys);
    product.location = Printed("C:\\Program Files\\Autodesk\\AutoCAD %d", product.year);
    return product;
}

void SeedProduct(IRegistry& registry, const SampleProduct& product) {
    const std::string path = kAutocadKey + '\\' + product.releaseKey + '\\' + product.productKey;
    SetString(registry, RegRoot::LocalMachine, path, "ProductName",
              Printed("AutoCAD %d - 简体中文 (Simplified Chinese)", product.year));
    SetString(registry, RegRoot::LocalMachine, path, "AcadLocation", product.location);
}

void SeedProducts(IRegistry& registry, int count) {
    for (int i = 0; i < count; ++i) {
        SeedProduct(registry, ScaledProduct(i));
    }
}

std::vector<std::string> SeedProfiles(IRegistry& registry, int profiles, int entries) {
    std::vector<std::string> variablesKeys;
    const std::string list = TrustedList(entries);
    for (int i = 0; i < profiles; ++i) {
        const SampleProduct product = ScaledProduct(i / kProfilesPerProduct);
        const std::string path = kAutocadKey + '\\' + product.releaseKey + '\\' +
                                 product.productKey + "\\Profiles\\" +
                                 Printed("Profile%03d", i % kProfilesPerProduct) + "\\Variables";
        SetString(registry, RegRoot::CurrentUser, path, "TRUSTEDPATHS", list);
        variablesKeys.push_back(path);
    }
    return variablesKeys;
}

bool KeyExists(IRegistry& registry, RegRoot root, const std::string& path) {
    RegKey rootKey(registry);
    RegKey key(registry);
    return rootKey.OpenRoot(root) == kOk && key.OpenForRead(rootKey.Get(), path) == kOk;
}

void DeleteTree(IRegistry& registry, RegRoot root, const std::string& path) {
    RegKey rootKey(registry);
    if (rootKey.OpenRoot(root) != kOk)
        return;
    std::vector<std::string> names;
    {
        RegKey key(registry);
        if (key.OpenForRead(rootKey.Get(), path) != kOk)
            return;
        std::uint32_t count = 0;
        registry.QuerySubkeyCount(key.Get(), count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string name;
            if (registry.EnumSubkey(key.Get(), i, name) == kOk && !name.empty())
                names.push_back(name);
        }
    }
    for (const std::string& name : names) {
        DeleteTree(registry, root, path + '\\' + name);
    }
    registry.DeleteKey(rootKey.Get(), path);
}

bool RegistryIsClean(IRegistry& registry) {
    if (KeyExists(registry, RegRoot::LocalMachine, kAutocadKey) ||
        KeyExists(registry, RegRoot::CurrentUser, kAutocadKey)) {
        std::fprintf(stderr, "bench: the registry already has AutoCAD keys; use a clean prefix\n");
        return false;
    }
    return true;
}

SeedScope::SeedScope(IRegistry& registry, RegRoot root)
    : registry_(registry), root_(root), ownsAutodesk_(!KeyExists(registry, root, kAutodeskKey)) {}

void SeedScope::Remove() {
    DeleteTree(registry_, root_, ownsAutodesk_ ? kAutodeskKey : kAutocadKey);
}

}  // namespace vk::bench
