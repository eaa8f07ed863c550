#pragma once
// The operating system's own services, bundled for SetUp.exe.
#include "platform/services.h"

namespace vk::win32 {

class FileLog;

// The process's log, which SystemServices() writes to; closed until a run opens it.
FileLog& SystemLog();

// One bundle for the whole process, built on first use; it lives until exit.
const Services& SystemServices();

}  // namespace vk::win32
