#pragma once
// The bytes this program carries among its resources (RCDATA).
#include <string_view>

namespace vk::win32 {

// The resource `id` of this program's own file; empty when it has none.
// Resources stay mapped for the life of the program.
std::string_view OwnResourceBytes(int id);

}  // namespace vk::win32
