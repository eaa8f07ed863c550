#include "common/bench_samples.h"

#include <cstdio>

namespace vk::bench {

void PrintSample(const std::string& metric, int round, double value) {
    if (round <= 0)
        return;  // warm-up
    std::printf("sample %s %d %.6f\n", metric.c_str(), round, value);
    std::fflush(stdout);  // a run that fails later keeps what it measured
}

}  // namespace vk::bench
