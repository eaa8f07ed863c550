#pragma once
// Today's date as Apps & Features keeps an installation's: YYYYMMDD.
#include <cstdio>
#include <string>

#include "platform/win32/windows_api.h"

namespace vk::win32 {

inline std::string Today() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

}  // namespace vk::win32
