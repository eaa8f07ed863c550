#pragma once
// Today's date as Apps & Features keeps an installation's: YYYYMMDD.
#include <string>

#include "core/decimal.h"

#include "platform/win32/windows_api.h"

namespace vk::win32 {

inline std::string Today() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return PaddedDecimal(now.wYear, 4) + PaddedDecimal(now.wMonth, 2) + PaddedDecimal(now.wDay, 2);
}

}  // namespace vk::win32
