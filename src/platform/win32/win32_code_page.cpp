#include "platform/win32/win32_code_page.h"

#include <algorithm>
#include <limits>

#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

// CharUpperBuffA / CharLowerBuffA convert in place: work on a copy, in pieces
// whose length a DWORD can count.
template <typename Convert>
std::string Converted(const std::string& text, Convert convert) {
    std::string copy = text;
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

}  // namespace vk::win32
