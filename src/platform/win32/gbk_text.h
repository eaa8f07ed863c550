#pragma once
// The program's text meets Windows in UTF-16. Inside, text is GBK (code page
// 936) whatever code page the machine gives programs that are not Unicode
// (1252 on a Western Windows, 950 on a Traditional-Chinese one, 65001 where
// "Use Unicode UTF-8" is ticked), so every call that takes or gives text goes
// through a wide function, converted here with 936 named explicitly. The
// machine's own code page (CP_ACP) is never used.
#include <string>
#include <string_view>

#include "platform/os_error.h"

namespace vk::win32 {

// The code page of the program's text.
inline constexpr unsigned kTextCodePage = 936;

// ERROR_NO_UNICODE_TRANSLATION: text from Windows holds a character GBK lacks.
inline constexpr OsResult kErrNotGbk = 1113;

// GBK text as UTF-16, for a wide function: what the ANSI function of a
// Chinese Windows would have made of the same bytes.
std::wstring Wide(std::string_view gbk);

// UTF-16 from Windows as GBK, each character GBK lacks shown as '?', as the
// ANSI functions of a Chinese Windows show it. Only for text that is shown,
// compared or passed on, never for a name a path or key is built from: '?'
// is a character of its own in registry names.
std::string Gbk(std::wstring_view wide);

// The same, exactly: kErrNotGbk (and `gbk` empty) when GBK lacks a character
// of the text (a folder in Korean, say). For names that paths and keys are
// built from.
OsResult ToGbk(std::wstring_view wide, std::string& gbk);

// True when GBK holds every character of `wide`, without look-alikes.
bool IsGbk(std::wstring_view wide);

}  // namespace vk::win32
