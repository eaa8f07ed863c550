// The browser's side of the picker: what happens when the browse window
// opens and when its selection changes.
#include "ui/picker/path_dialog.h"

#include "ui/framework/dpi.h"
#include "ui/picker/browse_ids.h"

namespace {

// The edit box: 23 pixels high, ending 4 pixels above the tree, at 96 DPI
// (the browse window's own controls scale with its font).
constexpr int kEditGapAboveTree = 4;
constexpr int kEditHeight = 23;

}  // namespace

int CALLBACK CPathDialog::BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData) {
    auto* picker = reinterpret_cast<CPathDialog*>(lpData);
    // No exception can unwind through the shell: the program has none.
    if (uMsg == BFFM_INITIALIZED) {
        picker->OnInitialized(hwnd);
    } else if (uMsg == BFFM_SELCHANGED) {
        picker->OnSelChanged(hwnd, reinterpret_cast<LPCITEMIDLIST>(lParam));
    }
    return 0;
}

void CPathDialog::OnInitialized(HWND hwnd) {
    m_hBrowseWnd = hwnd;
    if (m_pszCaption != nullptr) {
        ::SetWindowTextA(hwnd, m_pszCaption);
    }
    m_wndSub.SubclassWindow(hwnd);
    ::ShowWindow(::GetDlgItem(hwnd, kBrowseStatusId), SW_HIDE);
    CreateEditBox(hwnd);

    std::string folder;
    if (m_pszInitialPath != nullptr) {
        folder = m_pszInitialPath;
    } else {
        char current[MAX_PATH] = {};
        const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, current);
        // A longer current folder does not fit: nothing is selected then.
        if (length > 0 && length < MAX_PATH) {
            folder = current;
        }
    }
    // The browser answers with BFFM_SELCHANGED, which fills the box.
    ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
}

void CPathDialog::CreateEditBox(HWND hwnd) {
    const HWND tree = ::GetDlgItem(hwnd, kBrowseTreeId);
    RECT treeRect{};
    if (tree == nullptr || !::GetWindowRect(tree, &treeRect)) {
        return;
    }
    const UINT dpi = WindowDpi(hwnd);
    const LONG gap = ScaleToDpi(kEditGapAboveTree, dpi);
    POINT topLeft{treeRect.left, treeRect.top - gap - ScaleToDpi(kEditHeight, dpi)};
    POINT bottomRight{treeRect.right, treeRect.top - gap};
    ::ScreenToClient(hwnd, &topLeft);
    ::ScreenToClient(hwnd, &bottomRight);
    // The instruction text's rectangle may reach down to where the status text was: it
    // ends above the box instead (its one line of text stays as it was).
    if (const HWND title = ::GetDlgItem(hwnd, kBrowseTitleId)) {
        RECT titleRect{};
        ::GetWindowRect(title, &titleRect);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&titleRect), 2);
        if (titleRect.bottom > topLeft.y && topLeft.y > titleRect.top) {
            ::SetWindowPos(title, nullptr, 0, 0, titleRect.right - titleRect.left,
                           topLeft.y - titleRect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // A child of the browse window: destroyed with it.
    const HWND edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                        topLeft.x, topLeft.y, bottomRight.x - topLeft.x,
                                        bottomRight.y - topLeft.y, hwnd, nullptr, nullptr, nullptr);
    if (edit == nullptr) {
        return;
    }
    ::SetWindowLongPtrA(edit, GWLP_ID, kBrowseEditId);
    ::ShowWindow(edit, SW_SHOW);
    ::SendMessageA(edit, WM_SETFONT, static_cast<WPARAM>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)),
                   TRUE);
}

void CPathDialog::OnSelChanged(HWND hwnd, LPCITEMIDLIST pidl) {
    char path[MAX_PATH] = {};
    // Only a drive-letter folder can be installed into: a virtual folder or a
    // network place empties the box and disables OK.
    const bool usable = ::SHGetPathFromIDListA(pidl, path) && path[1] == ':';
    if (!usable) {
        path[0] = '\0';
    }
    ::SendMessageA(hwnd, BFFM_ENABLEOK, 0, usable ? 1 : 0);
    ::SendMessageA(hwnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    if (const HWND edit = ::GetDlgItem(hwnd, kBrowseEditId)) {
        ::SetWindowTextA(edit, path);
    }
}
