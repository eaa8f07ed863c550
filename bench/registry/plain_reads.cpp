#include "registry/plain_reads.h"

#include <cstdint>

#include "acad/registry_access.h"
#include "core/reg_key.h"
#include "registry/registry_seed.h"

namespace vk::bench {
namespace {

constexpr std::size_t kValueBuffer = 256;
constexpr std::size_t kTrustedPathsBuffer = 13000;

std::uint32_t SubkeyCount(IRegistry& registry, RegHandle key) {
    std::uint32_t count = 0;
    registry.QuerySubkeyCount(key, count);
    return count;
}

bool ReadValue(IRegistry& registry, RegHandle key, const std::string& name, std::size_t size,
               std::vector<std::uint8_t>& data) {
    std::uint32_t type = 0;
    return registry.QueryValue(key, name, size, data, type) == kOk;
}

}  // namespace

int PlainProductEnumeration(IRegistry& registry) {
    RegKey machine(registry);
    RegKey autocad(registry);
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        autocad.OpenForRead(machine.Get(), kAutocadKey) != kOk) {
        return 0;
    }
    int read = 0;
    std::vector<std::uint8_t> name;
    std::vector<std::uint8_t> location;
    const std::uint32_t releases = SubkeyCount(registry, autocad.Get());
    for (std::uint32_t r = 0; r < releases; ++r) {
        std::string releaseName;
        RegKey release(registry);
        if (registry.EnumSubkey(autocad.Get(), r, releaseName) != kOk ||
            release.OpenForRead(autocad.Get(), releaseName) != kOk) {
            continue;
        }
        const std::uint32_t products = SubkeyCount(registry, release.Get());
        for (std::uint32_t p = 0; p < products; ++p) {
            std::string productName;
            RegKey product(registry);
            if (registry.EnumSubkey(release.Get(), p, productName) != kOk ||
                product.OpenForRead(release.Get(), productName) != kOk) {
                continue;
            }
            if (ReadValue(registry, product.Get(), "ProductName", kValueBuffer, name) &&
                ReadValue(registry, product.Get(), "AcadLocation", kValueBuffer, location)) {
                ++read;
            }
        }
    }
    return read;
}

int PlainTrustedPathsUpdate(IRegistry& registry, const std::vector<std::string>& variablesKeys,
                            const std::string& folder) {
    RegKey user(registry);
    if (user.OpenRoot(RegRoot::CurrentUser) != kOk)
        return 0;
    int written = 0;
    std::vector<std::uint8_t> data;
    for (const std::string& path : variablesKeys) {
        RegKey key(registry);
        if (key.Open(user.Get(), path) != kOk ||
            !ReadValue(registry, key.Get(), "TRUSTEDPATHS", kTrustedPathsBuffer, data)) {
            continue;
        }
        std::string list = TextUpToNul(data);
        list += ';' + folder;
        if (registry.SetString(key.Get(), "TRUSTEDPATHS", list) == kOk)
            ++written;
    }
    return written;
}

}  // namespace vk::bench
