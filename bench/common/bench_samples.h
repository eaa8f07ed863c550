#pragma once
// How a benchmark program hands over what it measured: one line per figure,
// "sample <metric> <round> <value>", which scripts/bench.sh gathers into its
// table. Round 0 is a warm-up and is not printed.
#include <string>

namespace vk::bench {

void PrintSample(const std::string& metric, int round, double value);

}  // namespace vk::bench
