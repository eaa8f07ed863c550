#pragma once
// The operating system's own services, bundled for SetUp.exe.
#include "platform/services.h"

namespace vk::win32 {

// One bundle for the whole process, built on first use; it lives until exit.
const Services& SystemServices();

}  // namespace vk::win32
