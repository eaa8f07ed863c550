#include "e2e/driver/driver_error.h"

#include <string>

namespace vk::e2e {
namespace {

std::wstring toWide(std::string_view ansi) {
    if (ansi.empty())
        return {};
    const int length = static_cast<int>(ansi.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, utf16.data(), wide);
    return utf16;
}

std::string fromWide(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int length = static_cast<int>(utf16.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::string toUtf8(std::string_view ansi) {
    return fromWide(toWide(ansi));
}

std::string toUtf8Line(std::string_view ansi, size_t maxChars) {
    const std::wstring utf16 = toWide(ansi);
    std::wstring line;
    for (wchar_t c : utf16) {
        if (line.size() >= maxChars) {
            line += L"... (" + std::to_wstring(utf16.size()) + L" characters)";
            break;
        }
        if (c == L'\r') {
            line += L"\\r";
        } else if (c == L'\n') {
            line += L"\\n";
        } else {
            line += c;
        }
    }
    return fromWide(line);
}

std::string withLastError(std::string_view what, DWORD error) {
    return std::string(what) + " (error " + std::to_string(error) + ")";
}

}  // namespace vk::e2e
