#pragma once
// The program's code page, 936 (GBK), in which all its text is kept: which
// bytes start a double-byte character, case changes that leave double-byte
// characters whole, and how its text meets UTF-16. The one place that knows
// it: the machine's own code page for programs that are not Unicode plays
// no part.
//
// Wide text is std::u16string, UTF-16 code units exactly as the registry's
// wide functions give and take them: nothing is converted on the way, so any
// stored text, even one that is not well-formed UTF-16, is written back as it
// was read. UTF-8 would need such text repaired first.
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

    // MultiByteToWideChar from the code page.
    virtual std::u16string ToWide(const std::string& text) const = 0;
    // WideCharToMultiByte into it: a code unit it lacks becomes its default
    // character, '?'.
    virtual std::string ToAnsi(const std::u16string& text) const = 0;
    // CharUpperBuffW over the whole text: every code unit keeps its place.
    virtual std::u16string ToUpperWide(const std::u16string& text) const = 0;
    // True when the code page has a character of its own for `unit`:
    // WideCharToMultiByte without best fit and without the default character.
    // A surrogate alone is never one.
    virtual bool Represents(char16_t unit) const = 0;
};

}  // namespace vk
