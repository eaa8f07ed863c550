#pragma once
// Random bytes from Windows' cryptographic generator (RtlGenRandom, ADVAPI32).
#include "platform/random.h"

namespace vk::win32 {

class Win32Random : public IRandom {
public:
    OsResult Fill(std::uint8_t* bytes, std::size_t count) override;
};

}  // namespace vk::win32
