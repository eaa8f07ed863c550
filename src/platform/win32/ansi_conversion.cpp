#include "platform/win32/ansi_conversion.h"

#include <limits>

#include "platform/win32/windows_api.h"

namespace vk::win32 {

OsResult ToWide(const std::string& text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) {
        return kOk;
    }
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return kErrInvalidParameter;
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return static_cast<OsResult>(GetLastError());
    }
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return kOk;
}

OsResult ToAnsi(const std::wstring& wide, std::string& text) {
    text.clear();
    if (wide.empty()) {
        return kOk;
    }
    if (wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return kErrInvalidParameter;
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return static_cast<OsResult>(GetLastError());
    }
    text.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return kOk;
}

}  // namespace vk::win32
