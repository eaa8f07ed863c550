// The registry benchmarks on the memory registry, natively: the portable
// core's own cost, without any operating system underneath.
// Usage: bench_registry_native [rounds [product keys...]]
#include <cstdlib>

#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"
#include "registry/registry_rounds.h"

int main(int argc, char** argv) {
    vk::memory::MemoryRegistry registry;
    vk::memory::MemoryFileSystem files;
    vk::memory::MemoryProcessList processes;
    vk::memory::MemoryPrompts prompts;
    vk::memory::Cp936CodePage codePage;
    vk::memory::MemoryLog log;
    vk::memory::MemoryRandom random;
    const vk::Services services{registry, files, processes, prompts, codePage, log, random};

    vk::bench::RegistryBenchPlan plan;
    plan.platform = "native";
    plan.rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    if (argc > 2)
        plan.sizes.clear();
    for (int i = 2; i < argc; ++i) {
        plan.sizes.push_back(std::atoi(argv[i]));
    }
    plan.minRunMs = 20;  // memory operations are fast: average enough runs
    const int discovery = vk::bench::RunDiscoveryRounds(services, plan);
    const int trusted = vk::bench::RunTrustedPathsRounds(services, plan);
    return discovery != 0 ? discovery : trusted;
}
