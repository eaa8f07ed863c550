#include "platform/win32/win32_random.h"

#include "platform/win32/windows_api.h"

// RtlGenRandom is ADVAPI32's SystemFunction036; <ntsecapi.h> maps the name.
#include <ntsecapi.h>

#include <algorithm>

namespace vk::win32 {

OsResult Win32Random::Fill(std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(count, 1u << 20));
        if (!RtlGenRandom(bytes, piece)) {
            return kErrInvalidParameter;  // no reason is given
        }
        bytes += piece;
        count -= piece;
    }
    return kOk;
}

}  // namespace vk::win32
