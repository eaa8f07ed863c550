#pragma once
// The system's ANSI code page (936 on a Chinese Windows): which bytes start a
// double-byte character, and case changes that leave double-byte characters whole.
#include <string>

namespace vk {

class ICodePage {
public:
    virtual ~ICodePage() = default;
    // IsDBCSLeadByte: true when `byte` starts a double-byte character.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // CharUpperBuffA / CharLowerBuffA over the whole text.
    virtual std::string ToUpper(const std::string& text) const = 0;
    virtual std::string ToLower(const std::string& text) const = 0;
};

}  // namespace vk
