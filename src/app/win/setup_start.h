#pragma once
// SetUp.exe's start-up, after its entry. Apart from the entry so that a test
// program can run this very start-up with the DLL restriction failing, which
// Wine, having the call, never shows; SetUp.exe itself has no way to make it
// fail.
#include "platform/win32/windows_api.h"

namespace vk::win32 {

// `restrictDllSearch` is RestrictDllSearchToSystemFolder in SetUp.exe. When
// it fails the program says so (in a message box unless the command line
// keeps boxes away, and in the log) and ends with exit code 1, loading
// nothing more. The command line is the process's own, read wide. Returns
// the exit code.
int StartSetup(HINSTANCE instance, bool (*restrictDllSearch)());

}  // namespace vk::win32
