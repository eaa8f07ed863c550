// SetUp.exe's entry.
#include "app/win/setup_start.h"
#include "app/win/system_dlls.h"

// The command line is read wide by the start-up: lpCmdLine is in the
// machine's code page.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return vk::win32::StartSetup(hInstance, &vk::win32::RestrictDllSearchToSystemFolder);
}
