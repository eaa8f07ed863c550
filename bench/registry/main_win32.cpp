// The registry benchmarks on the real registry, under Wine (or Windows).
// Seeds what it measures through the registry API and removes it after.
// Usage: bench_registry.exe [rounds [product keys...]]
#include <cstdlib>

#include "platform/win32/system_services.h"
#include "registry/registry_rounds.h"

int main(int argc, char** argv) {
    vk::bench::RegistryBenchPlan plan;
    plan.platform = "wine";
    plan.rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (argc > 2)
        plan.sizes.clear();
    for (int i = 2; i < argc; ++i) {
        plan.sizes.push_back(std::atoi(argv[i]));
    }
    plan.minRunMs = 0;  // each run takes milliseconds: one run per sample
    const vk::Services& services = vk::win32::SystemServices();
    const int discovery = vk::bench::RunDiscoveryRounds(services, plan);
    const int trusted = vk::bench::RunTrustedPathsRounds(services, plan);
    return discovery != 0 ? discovery : trusted;
}
