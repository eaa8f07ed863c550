#include "platform/win32/win32_code_page.h"

#include <algorithm>
#include <limits>

#include "platform/win32/ansi_conversion.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

// CharUpperBuffA / CharLowerBuffA / CharUpperBuffW convert in place: work on
// a copy, in pieces whose length a DWORD can count.
template <typename Text, typename Convert>
Text Converted(const Text& text, Convert convert) {
    Text copy = text;
    constexpr std::size_t kChunk = std::numeric_limits<DWORD>::max() / 2;
    for (std::size_t at = 0; at < copy.size(); at += kChunk) {
        const std::size_t length = std::min(kChunk, copy.size() - at);
        convert(copy.data() + at, static_cast<DWORD>(length));
    }
    return copy;
}

}  // namespace

bool Win32CodePage::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::string Win32CodePage::ToUpper(const std::string& text) const {
    return Converted(text, CharUpperBuffA);
}

std::string Win32CodePage::ToLower(const std::string& text) const {
    return Converted(text, CharLowerBuffA);
}

std::u16string Win32CodePage::ToWide(const std::string& text) const {
    std::wstring wide;
    if (win32::ToWide(text, wide) != kOk)
        return {};
    return std::u16string(wide.begin(), wide.end());
}

std::string Win32CodePage::ToAnsi(const std::u16string& text) const {
    std::string ansi;
    if (win32::ToAnsi(std::wstring(text.begin(), text.end()), ansi) != kOk)
        return {};
    return ansi;
}

std::u16string Win32CodePage::ToUpperWide(const std::u16string& text) const {
    const std::wstring wide(text.begin(), text.end());
    const std::wstring upper = Converted(wide, CharUpperBuffW);
    return std::u16string(upper.begin(), upper.end());
}

bool Win32CodePage::Represents(char16_t unit) const {
    const wchar_t wide = unit;
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                           sizeof bytes, nullptr, &usedDefault);
    return length > 0 && usedDefault == FALSE;
}

}  // namespace vk::win32
