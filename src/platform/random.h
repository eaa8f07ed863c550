#pragma once
// Random bytes from the system's cryptographic generator: identifiers that
// nobody can guess before they are made (the installation record's, the
// uninstaller's temporary folder).
#include <cstddef>
#include <cstdint>

#include "platform/os_error.h"

namespace vk {

class IRandom {
public:
    virtual ~IRandom() = default;
    // Fills `count` bytes; kOk, or the failure (then nothing may be used).
    virtual OsResult Fill(std::uint8_t* bytes, std::size_t count) = 0;
};

}  // namespace vk
