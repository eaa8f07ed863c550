#pragma once
// A modal dialog built from a dialog template of the program's resources: the
// part of a dialog framework that the wizard pages need. One static dialog
// procedure keeps `this` in DWLP_USER and forwards to virtual members; no C++
// exception leaves it.
#include <span>

#include "ui/framework/command_table.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    // `commands`: the page's command table (it must outlive the dialog).
    explicit CDialog(UINT nIDTemplate, std::span<const CommandEntry> commands = {},
                     CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog: its result, or -1 when it could not be created.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    // FALSE: controls from members; TRUE: members from controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

protected:
    // Writes the members to the controls; TRUE lets the system focus the first tab stop.
    virtual BOOL OnInitDialog();
    // IDOK: reads the controls, then ends the dialog with IDOK.
    virtual void OnOK();
    // IDCANCEL, Esc and the close box: ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // Every WM_CTLCOLOR* of the dialog (nCtlColor: CTLCOLOR_*). The base does the
    // system's default colouring; a null brush leaves the system's colours.
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // The dialog moved to a screen of another DPI, and the dialog manager has
    // already scaled the template's controls; what the dialog sized in pixels
    // itself is its own to redo.
    virtual void OnDpiChanged() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(int id, UINT code);

    UINT m_nIDTemplate;
    std::span<const CommandEntry> m_commands;
    HWND m_hWndParent;
};
