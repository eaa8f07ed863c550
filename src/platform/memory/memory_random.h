#pragma once
// Random bytes for tests: a fixed sequence (SplitMix64 from a seed), so that
// a run is repeatable, with each call giving new bytes.
#include <cstdint>

#include "platform/memory/fault_injector.h"
#include "platform/random.h"

namespace vk::memory {

class MemoryRandom : public IRandom {
public:
    // Fault name: "RtlGenRandom".
    explicit MemoryRandom(FaultInjector* faults = nullptr, std::uint64_t seed = 1)
        : faults_(faults), state_(seed) {}

    OsResult Fill(std::uint8_t* bytes, std::size_t count) override;

private:
    FaultInjector* faults_;
    std::uint64_t state_;
};

}  // namespace vk::memory
