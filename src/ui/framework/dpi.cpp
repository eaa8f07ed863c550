#include "ui/framework/dpi.h"

UINT WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Looked up at run time: Windows 7 to 10 1511 lack it.
    static const FARPROC found =
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (found != nullptr) {
        // Through a plain function pointer type: GCC warns on a direct cast.
        const auto dpiForWindow =
            reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(found));
        if (const UINT dpi = dpiForWindow(hwnd); dpi != 0)
            return dpi;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}
