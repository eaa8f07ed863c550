#pragma once
// The registry benchmarks, run the same way on the memory registry natively
// and on the real registry under Wine: discovery against a plain enumeration
// of the same keys at several sizes, and trusted-path registration over many
// profiles. They print samples (common/bench_samples.h).
#include <string>
#include <vector>

#include "platform/services.h"

namespace vk::bench {

struct RegistryBenchPlan {
    std::string platform;  // names the metrics: "native" or "wine"
    int rounds = 5;        // measured rounds, after one warm-up round
    double minRunMs = 0;   // a sample is the mean of as many runs as fill this
    std::vector<int> sizes{250, 500, 1000, 2000};  // product keys, for discovery
};

// Both return 0 when every run did the work it should, else 1 (and say why).
// Neither touches a registry that already holds AutoCAD keys (result 2).
int RunDiscoveryRounds(const Services& services, const RegistryBenchPlan& plan);
int RunTrustedPathsRounds(const Services& services, const RegistryBenchPlan& plan);

}  // namespace vk::bench
