#pragma once
// The bytes a program carries among its resources (RCDATA).
#include <string_view>

#include "platform/win32/windows_api.h"

namespace vk::win32 {

// The resource `id` of `module`; empty when it has none. Resources stay
// mapped for the life of the module.
std::string_view ResourceBytes(HMODULE module, int id);

// The resource `id` of this program's own file.
inline std::string_view OwnResourceBytes(int id) {
    return ResourceBytes(::GetModuleHandleW(nullptr), id);
}

}  // namespace vk::win32
