#include "core/decimal.h"

namespace vk {

std::string PaddedDecimal(std::uint64_t value, int minDigits) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    return digits;
}

}  // namespace vk
