// A small dialog program for the driver's self-test: one of every kind of control that the
// setup's pages have, message boxes with the setup's caption, and two pages of one caption.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "e2e/selftest_dialog/selftest_dialog_ids.h"
#include "e2e/selftest_dialog/selftest_texts.h"

namespace {

namespace texts = vk::e2e::selftest;

std::string itemText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string currentFolder() {
    std::string folder(GetCurrentDirectoryA(0, nullptr), '\0');
    folder.resize(GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

void ask(HWND dialog, const char* text, UINT type) {
    const int answer = MessageBoxA(dialog, text, texts::kMessageCaption, type);
    SetDlgItemTextA(dialog, IDC_RESULT, std::to_string(answer).c_str());
}

void initMain(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_LONG, texts::longText().c_str());
    SetDlgItemTextA(dialog, IDC_FOLDER, currentFolder().c_str());
    HWND progress = GetDlgItem(dialog, IDC_PROGRESS);
    SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 50));
    SendMessageA(progress, PBM_SETSTEP, texts::kProgressStep, 0);
    SendMessageA(progress, PBM_SETPOS, texts::kProgressStart, 0);
}

void onMainCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDC_EDIT:
        case IDC_MEMO:
            // The mirror shows that EN_CHANGE arrived, and with which text.
            if (code == EN_CHANGE) {
                SetDlgItemTextA(dialog, id == IDC_EDIT ? IDC_EDIT_MIRROR : IDC_MEMO_MIRROR,
                                itemText(dialog, id).c_str());
            }
            break;
        case IDC_CHECK:
            EnableWindow(GetDlgItem(dialog, IDOK),
                         IsDlgButtonChecked(dialog, IDC_CHECK) != BST_CHECKED);
            break;
        case IDC_ASK:
            ask(dialog, texts::questionText().c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
            break;
        case IDC_RETRY:
            ask(dialog, "出错了", MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION);
            break;
        case IDC_NOTE:
            ask(dialog, "完成", MB_OK);
            break;
        case IDC_STEP:
            SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_STEPIT, 0, 0);
            break;
        case IDOK:
        case IDCANCEL:
        case IDC_NEXT:
            EndDialog(dialog, id);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK mainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initMain(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        onMainCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK secondProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL || id == IDC_BACK)
            EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // A page loop like the setup's: the main page, and a second page it leads to and back.
    for (;;) {
        const INT_PTR main =
            DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainProc, 0);
        if (main != IDC_NEXT)
            return main == IDOK ? EXIT_MAIN_OK : EXIT_MAIN_CANCEL;
        const INT_PTR second =
            DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SECOND), nullptr, secondProc, 0);
        if (second != IDC_BACK)
            return second == IDOK ? EXIT_SECOND_OK : EXIT_SECOND_CANCEL;
    }
}
