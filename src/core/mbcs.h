#pragma once
// Text operations that walk ANSI text by characters of the system's code page,
// so that the trail byte of a double-byte character (which may be 0x5C, the
// backslash, or an ASCII letter) is never taken for a character of its own.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace vk {

inline constexpr std::size_t kNoPos = std::string::npos;

// Byte offsets at which the characters of `text` start.
std::vector<std::size_t> CharacterStarts(const ICodePage& cp, const std::string& text);

// Offset of the last single-byte `ch` (for example '\\'), or kNoPos.
std::size_t FindLastChar(const ICodePage& cp, const std::string& text, char ch);
// Offset of the first single-byte `ch` at or after `from` (a character start), or kNoPos.
std::size_t FindChar(const ICodePage& cp, const std::string& text, char ch, std::size_t from = 0);
// Offset of the first occurrence of `needle` that starts on a character
// boundary of `text`, or kNoPos. An empty needle is found at 0.
std::size_t FindText(const ICodePage& cp, const std::string& text, const std::string& needle);

// True when the last character of `text` is the single byte `ch`.
bool EndsWithChar(const ICodePage& cp, const std::string& text, char ch);
// `text` without one trailing backslash, if its last character is one.
std::string WithoutTrailingBackslash(const ICodePage& cp, const std::string& text);

// Splits at every single-byte `separator`; empty pieces are kept.
std::vector<std::string> SplitText(const ICodePage& cp, const std::string& text, char separator);

}  // namespace vk
