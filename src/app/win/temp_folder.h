#pragma once
// %TEMP% as GetTempPathW gives it, as GBK and without its trailing backslash.
// A folder GBK cannot hold (a user name in Korean) is refused with kErrNotGbk:
// files are made in it by name.
#include <string>

#include "platform/os_error.h"

namespace vk::win32 {

OsResult TempFolder(std::string& folder);

}  // namespace vk::win32
