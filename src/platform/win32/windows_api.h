#pragma once
// <windows.h> for the Win32 side, without the macros that would rename
// members of the service interfaces (MessageBox, CopyFile,
// GetEnvironmentVariable) in the files that see both. Win32 code calls the
// ANSI functions by their ...A names.
#include <windows.h>

#undef CopyFile
#undef GetEnvironmentVariable
#undef MessageBox
