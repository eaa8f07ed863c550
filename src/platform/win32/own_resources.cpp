#include "platform/win32/own_resources.h"

namespace vk::win32 {

// RT_RCDATA in its wide form, whether or not the build is a Unicode one.
const LPCWSTR kRcData = MAKEINTRESOURCEW(10);

std::string_view ResourceBytes(HMODULE module, int id) {
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), kRcData);
    if (info == nullptr)
        return {};
    const HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {};
    return {static_cast<const char*>(data), ::SizeofResource(module, info)};
}

}  // namespace vk::win32
