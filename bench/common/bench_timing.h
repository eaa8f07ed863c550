#pragma once
// Timing of one measured operation.
#include "common/bench_clock.h"

namespace vk::bench {

// Mean time of `run` in milliseconds, over as many runs as fill `minMs` (at
// least one), so that short operations are not lost in the clock's noise.
// `prepare` runs before each run and is not timed.
template <typename Prepare, typename Run>
double MeanMs(double minMs, Prepare prepare, Run run) {
    double timed = 0;
    int runs = 0;
    do {
        prepare();
        const double start = NowMs();
        run();
        timed += NowMs() - start;
        ++runs;
    } while (timed < minMs);
    return timed / runs;
}

}  // namespace vk::bench
