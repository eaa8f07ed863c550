#include "registry/registry_rounds.h"

#include <cstdio>
#include <vector>

#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "common/bench_samples.h"
#include "common/bench_timing.h"
#include "core/reg_key.h"
#include "registry/plain_reads.h"
#include "registry/registry_seed.h"

namespace vk::bench {
namespace {

constexpr int kProfiles = 200;
constexpr int kTrustedEntries = 100;
constexpr const char* kInstallFolder = "C:\\Varnok\\Varnok批打印软件";

int Fail(const std::string& why) {
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    return 1;
}

std::size_t RecordedProducts(const CAcadReleaseCatalog& catalog) {
    std::size_t count = 0;
    for (const CStringList& keys : catalog.m_arrProductKeys) {
        count += keys.size();
    }
    return count;
}

std::string Metric(const char* what, const std::string& platform, int size, const char* unit) {
    return std::string(what) + '.' + platform + '.' + std::to_string(size) + '.' + unit;
}

// One size of one round: discovery and the plain enumeration, in turns.
int DiscoveryAtSize(const Services& services, const RegistryBenchPlan& plan, int round, int size) {
    SeedScope seeded(services.registry, RegRoot::LocalMachine);
    SeedProducts(services.registry, size);
    std::size_t found = 0;
    int read = 0;
    const auto discover = [&] {
        CAcadReleaseCatalog catalog(services);
        catalog.DiscoverReleases();
        found = RecordedProducts(catalog);
    };
    const auto enumerate = [&] { read = PlainProductEnumeration(services.registry); };
    const auto nothing = [] {};
    double discoveryMs = 0;
    double plainMs = 0;
    if (round % 2 == 1) {
        discoveryMs = MeanMs(plan.minRunMs, nothing, discover);
        plainMs = MeanMs(plan.minRunMs, nothing, enumerate);
    } else {
        plainMs = MeanMs(plan.minRunMs, nothing, enumerate);
        discoveryMs = MeanMs(plan.minRunMs, nothing, discover);
    }
    if (found != static_cast<std::size_t>(size) || read != size) {
        return Fail("discovery found " + std::to_string(found) + ", the enumeration read " +
                    std::to_string(read) + " of " + std::to_string(size) + " products");
    }
    PrintSample(Metric("discovery", plan.platform, size, "ms"), round, discoveryMs);
    PrintSample(Metric("plain_enum", plan.platform, size, "ms"), round, plainMs);
    PrintSample(Metric("discovery", plan.platform, size, "us_per_key"), round,
                discoveryMs * 1000.0 / size);
    PrintSample(Metric("plain_enum", plan.platform, size, "us_per_key"), round,
                plainMs * 1000.0 / size);
    return 0;
}

// True when the profile's list ends with the install folder, upper-cased.
bool HoldsFolder(const Services& services, const std::string& variablesKey) {
    RegKey user(services.registry);
    RegKey key(services.registry);
    std::vector<std::uint8_t> data;
    std::uint32_t type = 0;
    if (user.OpenRoot(RegRoot::CurrentUser) != kOk || key.Open(user.Get(), variablesKey) != kOk ||
        services.registry.QueryValue(key.Get(), "TRUSTEDPATHS", 13000, data, type) != kOk) {
        return false;
    }
    const std::string list = TextUpToNul(data);
    const std::string tail = ';' + services.codePage.ToUpper(kInstallFolder);
    return list.size() > tail.size() &&
           list.compare(list.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int RunDiscoveryRounds(const Services& services, const RegistryBenchPlan& plan) {
    if (!RegistryIsClean(services.registry))
        return 2;
    for (int round = 0; round <= plan.rounds; ++round) {
        for (int size : plan.sizes) {
            if (DiscoveryAtSize(services, plan, round, size) != 0)
                return 1;
        }
    }
    return 0;
}

int RunTrustedPathsRounds(const Services& services, const RegistryBenchPlan& plan) {
    if (!RegistryIsClean(services.registry))
        return 2;
    SeedScope seeded(services.registry, RegRoot::CurrentUser);
    std::vector<std::string> variablesKeys;
    const auto reseed = [&] {
        seeded.Remove();
        variablesKeys = SeedProfiles(services.registry, kProfiles, kTrustedEntries);
    };
    CAcadReleaseCatalog catalog(services);
    catalog.m_strInstallDir = kInstallFolder;
    int written = 0;
    const auto registerPaths = [&] { catalog.RegisterTrustedPaths(); };
    const auto plainUpdate = [&] {
        written = PlainTrustedPathsUpdate(services.registry, variablesKeys, kInstallFolder);
    };
    for (int round = 0; round <= plan.rounds; ++round) {
        double registerMs = 0;
        double plainMs = 0;
        if (round % 2 == 1) {
            registerMs = MeanMs(plan.minRunMs, reseed, registerPaths);
            plainMs = MeanMs(plan.minRunMs, reseed, plainUpdate);
        } else {
            plainMs = MeanMs(plan.minRunMs, reseed, plainUpdate);
            registerMs = MeanMs(plan.minRunMs, reseed, registerPaths);
        }
        if (written != kProfiles)
            return Fail("the plain update wrote " + std::to_string(written) + " profiles");
        reseed();
        registerPaths();
        if (!HoldsFolder(services, variablesKeys.front()) ||
            !HoldsFolder(services, variablesKeys.back())) {
            return Fail("RegisterTrustedPaths did not add the folder to every profile");
        }
        const std::string platform = plan.platform;
        PrintSample("trusted." + platform + ".ms", round, registerMs);
        PrintSample("trusted." + platform + ".us_per_profile", round,
                    registerMs * 1000.0 / kProfiles);
        PrintSample("plain_trusted." + platform + ".us_per_profile", round,
                    plainMs * 1000.0 / kProfiles);
    }
    return 0;
}

}  // namespace vk::bench
