#pragma once
// The first lines of every log: what an administrator needs to read a run on
// a machine they cannot see (which setup, which command line, which Windows,
// which account with which rights, when, and from where).
#include "platform/log.h"

namespace vk::win32 {

void WriteLogHeader(Log& log);

}  // namespace vk::win32
