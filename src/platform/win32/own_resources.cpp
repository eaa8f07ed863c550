#include "platform/win32/own_resources.h"

#include "platform/win32/windows_api.h"

namespace vk::win32 {

// RT_RCDATA in its wide form, whether or not the build is a Unicode one.
const LPCWSTR kRcData = MAKEINTRESOURCEW(10);

std::string_view OwnResourceBytes(int id) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
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
