// The start-up baseline: a program that shows one empty modal dialog, built
// with the same toolchain and flags as SetUp.exe. Closes on WM_CLOSE or Esc.
// Built a second time with BENCH_WITH_COMMON_CONTROLS, it first loads the
// common controls as SetUp.exe does, to show what that alone costs.
#include <windows.h>

#ifdef BENCH_WITH_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include "startup/empty_dialog_ids.h"

namespace {

INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef BENCH_WITH_COMMON_CONTROLS
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
#endif
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_EMPTY), nullptr, EmptyDialogProc, 0);
    return 0;
}
