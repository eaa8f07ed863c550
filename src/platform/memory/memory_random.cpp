#include "platform/memory/memory_random.h"

namespace vk::memory {

OsResult MemoryRandom::Fill(std::uint8_t* bytes, std::size_t count) {
    if (faults_ != nullptr && faults_->ShouldFail("RtlGenRandom"))
        return kErrInjected;
    for (std::size_t i = 0; i < count; i += 8) {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        for (std::size_t j = 0; j < 8 && i + j < count; ++j)
            bytes[i + j] = static_cast<std::uint8_t>(z >> (8 * j));
    }
    return kOk;
}

}  // namespace vk::memory
