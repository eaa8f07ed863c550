#pragma once
// <windows.h> for the Win32 side, without the macros that would rename
// members of the service interfaces (MessageBox, CopyFile,
// GetEnvironmentVariable) in the files that see both. Win32 code calls the
// wide functions by their ...W names, its GBK text converted with
// platform/win32/gbk_text.h, never the ANSI ones, which would read it in the
// machine's code page.
#include <windows.h>

#undef CopyFile
#undef GetEnvironmentVariable
#undef MessageBox
