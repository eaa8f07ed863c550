#include "ui/pages/page_frame.h"

#include "app/install_context.h"
#include "res/resource.h"
#include "ui/framework/dpi.h"
#include "ui/framework/win_app.h"

void CPageFrame::Init(CWnd& page, std::string* version) {
    m_brush.Attach(::CreateSolidBrush(kPageGreen));
    if (version != nullptr) {
        *version = VersionLine();
    }
    // Icons from LoadIconA are shared by the system and never destroyed.
    if (HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP))) {
        page.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    ApplyDpi(page);
}

void CPageFrame::ApplyDpi(CWnd& page) {
    const UINT dpi = WindowDpi(page.m_hWnd);
    CWnd versionLine = page.GetDlgItem(m_variant.versionLineId);
    CFont font;
    if (versionLine.m_hWnd != nullptr &&
        font.CreateFont(ScaleToDpi(12, dpi), 0, 0, 0, 600, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                        0, 0, "宋体")) {
        // Windows' static control draws with the font the colour handler
        // selects; Wine's selects the control's own font after that message,
        // so the control is given the same font too.
        versionLine.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
        m_versionFont = std::move(font);  // the control no longer uses the one it replaces
    }
    m_header.Show(page.GetDlgItem(IDC_HEADER_BITMAP).m_hWnd, IDB_HEADER, dpi);
    m_menuPicture.Show(page.GetDlgItem(IDC_MENU_PICTURE).m_hWnd, IDB_MENU, dpi);
}

HBRUSH CPageFrame::CtlColor(CDC* pDC, CWnd* pWnd) {
    const int id = pWnd->GetDlgCtrlID();
    pDC->SetTextColor(RGB(0, 0, 0));
    if (m_variant.opaqueControlId == 0 || id != m_variant.opaqueControlId) {
        pDC->SetBkMode(TRANSPARENT);
    }
    if (id == m_variant.versionLineId) {
        if (m_versionFont.GetSafeHandle() != nullptr) {
            pDC->SelectObject(m_versionFont);
        }
        pDC->SetTextColor(kVersionLineGreen);
    }
    return m_brush.GetSafeHandle();
}
