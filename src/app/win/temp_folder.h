#pragma once
// %TEMP% as GetTempPath gives it, without its trailing backslash ("" when
// Windows gives none that fits).
#include <string>

namespace vk::win32 {

std::string TempFolder();

}  // namespace vk::win32
