#pragma once
// UTF-16 and UTF-8, for the files the setup writes as UTF-8 (the
// installation record). A lone surrogate, which UTF-16 text from the
// registry may hold, is written as U+FFFD.
#include <string>

namespace vk {

std::string Utf16ToUtf8(const std::u16string& text);
// False for bytes that are not well-formed UTF-8.
bool Utf8ToUtf16(const std::string& text, std::u16string& wide);

}  // namespace vk
