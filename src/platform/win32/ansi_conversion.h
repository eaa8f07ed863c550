#pragma once
// Text between the process's ANSI code page and UTF-16, converted as the
// ...A functions of Windows convert it, for the few calls whose ANSI form
// misbehaves under Wine.
#include <string>

#include "platform/os_error.h"

namespace vk::win32 {

OsResult ToWide(const std::string& text, std::wstring& wide);
OsResult ToAnsi(const std::wstring& wide, std::string& text);

}  // namespace vk::win32
