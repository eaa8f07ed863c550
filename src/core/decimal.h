#pragma once
// Numbers as decimal text with leading zeros, for dates and numbered names.
// (std::snprintf would do it, but links mingw's whole printf, a twentieth of
// SetUp.exe.) Header only: the Win32 services use it too.
#include <cstdint>
#include <string>

namespace vk {

// The decimal digits of `value`, at least `minDigits` of them: (7, 3) is "007".
inline std::string PaddedDecimal(std::uint64_t value, int minDigits = 1) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    return digits;
}

}  // namespace vk
