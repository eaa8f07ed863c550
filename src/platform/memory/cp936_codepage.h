#pragma once
// Code page 936 (GBK) without an operating system: lead bytes 0x81 to 0xFE,
// and the case pairs Windows' conversions give (ASCII letters, and the
// Roman numerals and the full-width Latin, Greek and Cyrillic letters of
// GBK's double-byte rows).
//
// Its link to Unicode is a model, not the whole table: ASCII, the euro sign,
// the rows above, the pinyin letters (whose capitals GBK lacks) and the few
// Chinese characters the tests write are mapped as Windows maps them. Every
// other double-byte character stands for itself in plane 15 of Unicode
// (U+F0000 onwards), so that ANSI text still comes back unchanged from UTF-16;
// Windows would give the character's own code there.
#include <cstdint>

#include "platform/codepage.h"

namespace vk::memory {

class Cp936CodePage : public ICodePage {
public:
    bool IsLeadByte(unsigned char byte) const override;
    std::string ToUpper(const std::string& text) const override;
    std::string ToLower(const std::string& text) const override;
    std::u16string ToWide(const std::string& text) const override;
    std::u16string ToUpperWide(const std::u16string& text) const override;
    std::string ToAnsi(const std::u16string& text) const override;
    bool Represents(char16_t unit) const override;
};

}  // namespace vk::memory
