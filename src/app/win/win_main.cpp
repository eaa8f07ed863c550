// The program's entry hands over to the framework, which starts theApp.
#include "platform/win32/windows_api.h"
#include "ui/framework/win_app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance);
}
