#pragma once
// A window the code refers to but does not own: the dialog layer's view of a
// page or of one of its controls. Copies share the same window.
#include <string>

#include "platform/win32/gbk_text.h"
#include "platform/win32/windows_api.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = default;
    CWnd& operator=(const CWnd&) = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The child with control id `id`; an empty CWnd when there is none.
    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const std::string& text) {
        ::SetWindowTextW(m_hWnd, vk::win32::Wide(text).c_str());
    }
    // The whole text, however long, as GBK (a character GBK lacks reads as
    // '?'), and as the window holds it.
    std::string GetWindowText() const { return vk::win32::Gbk(GetWindowTextWide()); }
    std::wstring GetWindowTextWide() const;

    // A message box owned by this window.
    int MessageBox(const std::string& text, const std::string& caption, UINT type) const {
        return ::MessageBoxW(m_hWnd, vk::win32::Wide(text).c_str(),
                             vk::win32::Wide(caption).c_str(), type);
    }

    HWND m_hWnd = nullptr;
};
