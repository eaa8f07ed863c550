// The program's entry hands over to the framework, which starts theApp.
#include "app/win/system_dlls.h"
#include "platform/win32/windows_api.h"
#include "ui/framework/win_app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL by name.
    vk::win32::RestrictDllSearchToSystemFolder();
    return AfxWinMain(hInstance);
}
