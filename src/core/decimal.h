#pragma once
// Numbers as decimal text with leading zeros, for dates and numbered names.
// (std::snprintf would do it, but links mingw's whole printf, a twentieth of
// SetUp.exe.)
#include <cstdint>
#include <string>

namespace vk {

// The decimal digits of `value`, at least `minDigits` of them: (7, 3) is "007".
std::string PaddedDecimal(std::uint64_t value, int minDigits = 1);

}  // namespace vk
