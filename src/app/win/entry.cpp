// SetUp.exe's entry.
#include "app/win/setup_start.h"
#include "app/win/system_dlls.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR commandLine, int) {
    return vk::win32::StartSetup(hInstance, commandLine,
                                 &vk::win32::RestrictDllSearchToSystemFolder);
}
