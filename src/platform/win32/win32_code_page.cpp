#include "platform/win32/win32_code_page.h"

#include <algorithm>
#include <limits>

#include "platform/win32/gbk_text.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

// CharUpperBuffW / CharLowerBuffW convert in place: work on a copy, in
// pieces whose length a DWORD can count.
template <typename Convert>
std::wstring Converted(std::wstring text, Convert convert) {
    constexpr std::size_t kChunk = std::numeric_limits<DWORD>::max() / 2;
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        const std::size_t length = std::min(kChunk, text.size() - at);
        convert(text.data() + at, static_cast<DWORD>(length));
    }
    return text;
}

// The case of each character of GBK text changed where GBK holds the changed
// character too: a double-byte character (whose trail byte may be an ASCII
// letter) is changed only as a whole, into another of two bytes, and a
// character whose capital GBK lacks (the pinyin letters) stays.
// ASCII letters, the only single-byte ones, are changed directly, as
// CharUpperBuffW and CharLowerBuffW change them.
template <typename Convert>
std::string CaseChanged(const std::string& text, Convert convert, char from, char to) {
    std::string changed = text;
    for (std::size_t at = 0; at < changed.size();) {
        char& byte = changed[at];
        const bool pair = IsDBCSLeadByteEx(kTextCodePage, static_cast<BYTE>(byte)) != FALSE &&
                          at + 1 < changed.size();
        if (!pair) {
            if (byte >= from && byte <= static_cast<char>(from + 25))
                byte = static_cast<char>(byte - from + to);
            ++at;
            continue;
        }
        const std::wstring wide = Wide(std::string_view(changed).substr(at, 2));
        std::string other;
        if (wide.size() == 1 && ToGbk(Converted(wide, convert), other) == kOk &&
            other.size() == 2) {
            changed.replace(at, 2, other);
        }
        at += 2;
    }
    return changed;
}

std::u16string Units(const std::wstring& wide) {
    return std::u16string(wide.begin(), wide.end());
}

std::wstring WideOf(const std::u16string& units) {
    return std::wstring(units.begin(), units.end());
}

}  // namespace

bool Win32CodePage::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByteEx(kTextCodePage, byte) != FALSE;
}

std::string Win32CodePage::ToUpper(const std::string& text) const {
    return CaseChanged(text, CharUpperBuffW, 'a', 'A');
}

std::string Win32CodePage::ToLower(const std::string& text) const {
    return CaseChanged(text, CharLowerBuffW, 'A', 'a');
}

std::u16string Win32CodePage::ToWide(const std::string& text) const {
    return Units(Wide(text));
}

std::string Win32CodePage::ToAnsi(const std::u16string& text) const {
    return Gbk(WideOf(text));
}

std::u16string Win32CodePage::ToUpperWide(const std::u16string& text) const {
    return Units(Converted(WideOf(text), CharUpperBuffW));
}

bool Win32CodePage::Represents(char16_t unit) const {
    const wchar_t wide = unit;
    return IsGbk(std::wstring_view(&wide, 1));
}

}  // namespace vk::win32
