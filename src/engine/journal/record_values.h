#pragma once
// A registry value's text (UTF-16) as the record keeps it: little-endian
// code units, no NUL; and back.
#include <string>

namespace vk {

std::string WideTextBytes(const std::u16string& text);
std::u16string WideTextOf(const std::string& bytes);

}  // namespace vk
