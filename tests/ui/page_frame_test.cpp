// The frame every page shares: the green brush for the page and its
// controls, the bold dark-green version line, the caption icon, and GDI
// objects that live exactly as long as the page.
#include <gtest/gtest.h>

#include <cstring>

#include "res/resource.h"
#include "ui/page_harness.h"
#include "ui/pages/dlg_page1.h"
#include "ui/pages/dlg_page3.h"
#include "ui/pages/dlg_page4.h"
#include "ui/test_catalog.h"

namespace vk::test {
namespace {

// What the page's colour handler left in a device context.
struct Coloured {
    HBRUSH brush = nullptr;
    COLORREF text = 0;
    int bkMode = 0;
    HFONT font = nullptr;
    LOGFONTA logFont{};
};

Coloured AskColour(HWND page, UINT message, HWND control) {
    const HDC dc = ::GetDC(control);
    const int saved = ::SaveDC(dc);
    Coloured result;
    result.brush = reinterpret_cast<HBRUSH>(::SendMessageA(
        page, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    result.text = ::GetTextColor(dc);
    result.bkMode = ::GetBkMode(dc);
    result.font = static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT));
    ::GetObjectA(result.font, sizeof(result.logFont), &result.logFont);
    ::RestoreDC(dc, saved);
    ::ReleaseDC(control, dc);
    return result;
}

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH logBrush{};
    ::GetObjectA(brush, sizeof(logBrush), &logBrush);
    return logBrush.lbColor;
}

TEST(PageFrame, PageAndTextsAreGreenWithBlackText) {
    ContextGuard context;
    VisitPage<Dlg_Page1>([](HWND page) {
        const Coloured dialog = AskColour(page, WM_CTLCOLORDLG, page);
        ASSERT_NE(dialog.brush, nullptr);
        EXPECT_EQ(BrushColour(dialog.brush), RGB(170, 210, 150));

        // The agreement text (1013) is ordinary on this page: only 1011 is the version line.
        const Coloured agreement =
            AskColour(page, WM_CTLCOLORSTATIC, ::GetDlgItem(page, IDC_AGREEMENT));
        EXPECT_EQ(agreement.brush, dialog.brush);
        EXPECT_EQ(agreement.text, RGB(0, 0, 0));
        EXPECT_EQ(agreement.bkMode, TRANSPARENT);
        EXPECT_NE(agreement.logFont.lfWeight, 600);

        const Coloured radio = AskColour(page, WM_CTLCOLORSTATIC, ::GetDlgItem(page, IDC_AGREE));
        EXPECT_EQ(radio.brush, dialog.brush);
        EXPECT_EQ(radio.bkMode, TRANSPARENT);
    });
}

TEST(PageFrame, VersionLineIsBoldDarkGreenWithOneFontPerPage) {
    ContextGuard context;
    HFONT versionFont = nullptr;
    HBRUSH pageBrush = nullptr;
    VisitPage<Dlg_Page1>([&](HWND page) {
        const HWND line = ::GetDlgItem(page, IDC_VERSION_LINE);
        const Coloured first = AskColour(page, WM_CTLCOLORSTATIC, line);
        EXPECT_EQ(first.text, RGB(10, 70, 40));
        EXPECT_EQ(first.logFont.lfWeight, 600);
        EXPECT_EQ(first.logFont.lfHeight, 12);
        EXPECT_STREQ(first.logFont.lfFaceName, "宋体");
        // The control draws with it on systems that select their own font last.
        EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(line, WM_GETFONT, 0, 0)), first.font);

        const Coloured second = AskColour(page, WM_CTLCOLORSTATIC, line);
        EXPECT_EQ(second.font, first.font) << "a font per colour message";
        versionFont = first.font;
        pageBrush = first.brush;
    });
    // Both went with the page.
    EXPECT_EQ(::GetObjectType(versionFont), 0u);
    EXPECT_EQ(::GetObjectType(pageBrush), 0u);
}

TEST(PageFrame, InstallPageKeepsItsFolderBoxOpaqueAndMarksTheLowerLine) {
    ContextGuard context;
    VisitPage<Dlg_Page3>([](HWND page) {
        const Coloured folder = AskColour(page, WM_CTLCOLOREDIT, ::GetDlgItem(page, IDC_FOLDER));
        EXPECT_EQ(folder.bkMode, OPAQUE);
        EXPECT_EQ(folder.text, RGB(0, 0, 0));
        const Coloured line =
            AskColour(page, WM_CTLCOLORSTATIC, ::GetDlgItem(page, IDC_VERSION_LINE_LOW));
        EXPECT_EQ(line.text, RGB(10, 70, 40));
        EXPECT_EQ(line.logFont.lfWeight, 600);
    });
}

TEST(PageFrame, EveryPageSetsTheSmallCaptionIcon) {
    ContextGuard context;
    VisitPage<Dlg_Page4>([](HWND page) {
        EXPECT_NE(::SendMessageA(page, WM_GETICON, ICON_SMALL, 0), 0);
        char caption[64] = {};
        ::GetWindowTextA(page, caption, sizeof(caption));
        EXPECT_STREQ(caption, "Varnok批打印软件安装");
    });
}

}  // namespace
}  // namespace vk::test
