#pragma once
// The dots per inch a window is shown at. SetUp.exe is aware of them (its
// manifest: per monitor, else the system's): dialog templates scale with their
// font, and what the pages draw in pixels scales with these.
#include "platform/win32/windows_api.h"

inline constexpr UINT kBaseDpi = 96;  // 100 %: the size everything is drawn for

// The window's DPI (GetDpiForWindow, Windows 10 1607 and later), else the
// system's, which an older Windows gives every window.
UINT WindowDpi(HWND hwnd);

// A length in pixels at 96 DPI, at `dpi`, rounded.
inline int ScaleToDpi(int pixels, UINT dpi) {
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}
