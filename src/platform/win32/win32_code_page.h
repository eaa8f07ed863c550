#pragma once
// Code page 936 (GBK), the program's own, as Windows converts and cases it,
// named explicitly so that the answers are the same on a machine of any code
// page.
#include "platform/codepage.h"

namespace vk::win32 {

class Win32CodePage : public ICodePage {
public:
    bool IsLeadByte(unsigned char byte) const override;
    std::string ToUpper(const std::string& text) const override;
    std::string ToLower(const std::string& text) const override;
    std::u16string ToWide(const std::string& text) const override;
    std::string ToAnsi(const std::u16string& text) const override;
    std::u16string ToUpperWide(const std::u16string& text) const override;
    bool Represents(char16_t unit) const override;
};

}  // namespace vk::win32
