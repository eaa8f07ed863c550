#include "ui/picker/path_dialog.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/folder_path_rules.h"
#include "engine/folder_protection.h"
#include "engine/install_texts.h"
#include "platform/win32/gbk_text.h"
#include "platform/win32/system_services.h"
#include "ui/framework/win_app.h"
#include "ui/picker/browse_ids.h"
#include "ui/picker/safe_owner.h"
#include "ui/picker/shell_memory.h"

CPathDialog::CPathDialog(const char* pszCaption, const char* pszTitle, const char* pszInitialPath,
                         CWnd* pParentWnd)
    : m_pszCaption(pszCaption),
      m_strTitle(pszTitle != nullptr ? vk::win32::Wide(pszTitle) : L""),
      m_pszInitialPath(pszInitialPath) {
    m_wndSub.m_pPathDialog = this;
    m_wndOwner = GetSafeOwner(pParentWnd);
    m_pParentWnd = m_wndOwner.m_hWnd != nullptr ? &m_wndOwner : nullptr;

    m_bi.hwndOwner = m_wndOwner.m_hWnd;
    m_bi.pidlRoot = nullptr;  // the desktop
    m_bi.pszDisplayName = nullptr;
    m_bi.lpszTitle = pszTitle != nullptr ? m_strTitle.c_str() : nullptr;
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_bi.lpfn = &CPathDialog::BrowseCallbackProc;
}

int CPathDialog::DoModal() {
    wchar_t displayName[MAX_PATH];  // the browser writes here; the result is the box's text
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bi.lpfn = &CPathDialog::BrowseCallbackProc;
    m_bi.pszDisplayName = displayName;

    int result = -1;
    const CComApartment apartment;
    const CShellAllocator allocator;
    if (allocator.Get() != nullptr) {
        m_bAccepted = 0;
        // The item list is not used, only freed.
        const CItemIdList chosen(*allocator.Get(), ::SHBrowseForFolderW(&m_bi));
        if (m_bAccepted != 0) {
            result = IDOK;
        }
    }
    m_bi.pszDisplayName = nullptr;
    m_hBrowseWnd = nullptr;
    return result;
}

std::string CPathDialog::ReadEditBox() const {
    return vk::win32::Gbk(ReadEditBoxWide());
}

std::wstring CPathDialog::ReadEditBoxWide() const {
    return CWnd(::GetDlgItem(m_hBrowseWnd, kBrowseEditId)).GetWindowTextWide();
}

void CPathDialog::StorePathName(const std::string& text) {
    if (text.size() < sizeof m_szPathName) {
        std::memcpy(m_szPathName, text.c_str(), text.size() + 1);
    } else {
        m_szPathName[0] = '\0';
    }
}

bool CPathDialogSub::OnCommand(int id, UINT code) {
    // The picker's message map.
    struct Entry {
        UINT nCode;
        int nID;
        void (CPathDialogSub::*pfn)();
    };
    static constexpr Entry kEntries[] = {
        {BN_CLICKED, IDOK, &CPathDialogSub::OnBrowseOK},
        {EN_CHANGE, kBrowseEditId, &CPathDialogSub::OnChangeEditPath},
    };
    for (const Entry& entry : kEntries) {
        if (entry.nCode == code && entry.nID == id) {
            (this->*entry.pfn)();
            return true;
        }
    }
    return false;
}

void CPathDialogSub::OnChangeEditPath() {
    CPathDialog& picker = *m_pPathDialog;
    const std::string text = picker.ReadEditBox();
    picker.StorePathName(text);
    ::SendMessageW(picker.m_hBrowseWnd, BFFM_ENABLEOK, 0, text.empty() ? 0 : 1);
}

void CPathDialogSub::OnBrowseOK() {
    CPathDialog& picker = *m_pPathDialog;
    // The whole text is checked, so a text too long for the name is refused
    // as the invalid path it is.
    std::string text;
    const bool gbk = vk::win32::ToGbk(picker.ReadEditBoxWide(), text) == vk::kOk;
    picker.StorePathName(text);
    const vk::Services& services = vk::win32::SystemServices();
    if (!gbk) {
        services.prompts.MessageBox(services.prompts.MainWindow(), vk::kNotGbkPathText,
                                    AfxGetAppName(), vk::kMbOk | vk::kMbIconExclamation);
        ::SetFocus(::GetDlgItem(picker.m_hBrowseWnd, kBrowseEditId));
        return;
    }
    if (vk::HoldsListSeparator(text)) {
        services.prompts.MessageBox(services.prompts.MainWindow(), vk::kListSeparatorText,
                                    AfxGetAppName(), vk::kMbOk | vk::kMbIconExclamation);
        ::SetFocus(::GetDlgItem(picker.m_hBrowseWnd, kBrowseEditId));
        return;
    }
    // A folder made here is made by the setup: protected from the start, as
    // the installation's own are.
    const int made = MakeSurePathExists(services, text, AfxGetAppName(), nullptr,
                                        [&services](const std::string& folder) {
                                            return vk::CreateProtectedFolder(services, folder);
                                        });
    if (made != vk::kPathOk) {
        ::SetFocus(::GetDlgItem(picker.m_hBrowseWnd, kBrowseEditId));
        return;
    }
    picker.m_bAccepted = 1;
    ::EndDialog(picker.m_hBrowseWnd, 1);
}
