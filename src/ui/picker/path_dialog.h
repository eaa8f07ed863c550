#pragma once
// The folder picker: the shell's folder browser with an edit box above its
// tree. The tree's selection fills the box; a folder can also be typed, and
// on OK it is checked and, when missing, created with its parents on request.
// Only an acceptable folder closes the browser with OK.
#include <shlobj.h>

#include <string>

#include "platform/win32/windows_api.h"
#include "ui/picker/subclassed_window.h"

class CPathDialog;

// Routes the browser's OK button and the box's changes to the picker.
class CPathDialogSub : public CSubclassedWnd {
public:
    CPathDialog* m_pPathDialog = nullptr;

protected:
    bool OnCommand(int id, UINT code) override;

    void OnBrowseOK();
    void OnChangeEditPath();
};

class CPathDialog {
public:
    // `pszCaption`, `pszTitle` (the text above the tree) and `pszInitialPath`
    // may be null; they are borrowed and must live until DoModal returns.
    // The browser is owned by `pParentWnd`'s top-level window or, without
    // one, by the active window.
    CPathDialog(const char* pszCaption, const char* pszTitle, const char* pszInitialPath,
                CWnd* pParentWnd = nullptr);
    virtual ~CPathDialog() = default;
    CPathDialog(const CPathDialog&) = delete;
    CPathDialog& operator=(const CPathDialog&) = delete;

    // IDOK when a folder was accepted; -1 otherwise (Cancel, Esc, close box,
    // or no shell allocator).
    virtual int DoModal();
    // The accepted folder: a drive-letter path that exists, with no trailing
    // backslash except for a bare drive root. Meaningful after IDOK only.
    std::string GetPathName() const { return m_szPathName; }

    static int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

private:
    friend class CPathDialogSub;

    void OnInitialized(HWND hwnd);
    void OnSelChanged(HWND hwnd, LPCITEMIDLIST pidl);
    // Adds the edit box above the browser's tree.
    void CreateEditBox(HWND hwnd);
    // The whole text of the edit box (empty when there is none).
    std::string ReadEditBox() const;
    // The same as the box holds it, with what GBK lacks.
    std::wstring ReadEditBoxWide() const;
    // Keeps `text` in m_szPathName when it fits whole; a longer text is no
    // valid path and leaves the name empty rather than cut short.
    void StorePathName(const std::string& text);

    const char* m_pszCaption;
    std::wstring m_strTitle;  // the browser reads it while open
    const char* m_pszInitialPath;
    char m_szPathName[MAX_PATH] = {};
    BROWSEINFOW m_bi{};
    HWND m_hBrowseWnd = nullptr;
    CWnd m_wndOwner;               // the safe owner, a view
    CWnd* m_pParentWnd = nullptr;  // &m_wndOwner, or null when there is no owner
    int m_bAccepted = 0;
    CPathDialogSub m_wndSub;
};
