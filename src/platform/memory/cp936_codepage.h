#pragma once
// Code page 936 (GBK) without an operating system: lead bytes 0x81 to 0xFE,
// and the case pairs Windows' conversions give (ASCII letters, and the
// Roman numerals and the full-width Latin, Greek and Cyrillic letters of
// GBK's double-byte rows).
#include "platform/codepage.h"

namespace vk::memory {

class Cp936CodePage : public ICodePage {
public:
    bool IsLeadByte(unsigned char byte) const override;
    std::string ToUpper(const std::string& text) const override;
    std::string ToLower(const std::string& text) const override;
};

}  // namespace vk::memory
