// SetUp.exe as it starts on a Windows whose loader cannot be limited to the
// system folder (Windows 7 without update KB2533623): the program's own
// start-up, with that one call failing. Only the tests build it.
#include "app/win/setup_start.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return vk::win32::StartSetup(hInstance, [] { return false; });
}
