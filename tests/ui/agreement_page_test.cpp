// The agreement page: paging through the four screens, the choice and the
// Next button that follows it, Enter, and what the page leaves behind.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/install_context.h"
#include "res/resource.h"
#include "ui/page_harness.h"
#include "ui/pages/dlg_page1.h"
#include "ui/test_catalog.h"

namespace vk::test {
namespace {

TEST(AgreementPage, FirstVisitShowsScreenZeroWithAgreementChosen) {
    ContextGuard context;
    VisitPage<Dlg_Page1>([](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_PREV_SCREEN));
        EXPECT_TRUE(IsEnabled(page, IDC_NEXT_SCREEN));
        EXPECT_TRUE(IsChecked(page, IDC_AGREE));
        EXPECT_FALSE(IsChecked(page, IDC_DISAGREE));
        EXPECT_TRUE(IsEnabled(page, IDOK));
        EXPECT_FALSE(IsEnabled(page, IDC_BACK));
        EXPECT_NE(TextOf(page, IDC_AGREEMENT).find("Varnok批打印软件最终用户许可协议"),
                  std::string::npos);
        EXPECT_EQ(TextOf(page, IDC_VERSION_LINE), "Varnok批打印软件 V2023.5.26 (64位版本)");
    });
}

TEST(AgreementPage, PagesThroughFourDistinctScreensToTheRevisionDate) {
    ContextGuard context;
    VisitPage<Dlg_Page1>([](HWND page) {
        std::set<std::string> screens{TextOf(page, IDC_AGREEMENT)};
        for (int press = 1; press <= 3; ++press) {
            Click(page, IDC_NEXT_SCREEN);
            screens.insert(TextOf(page, IDC_AGREEMENT));
            EXPECT_TRUE(IsEnabled(page, IDC_PREV_SCREEN));
            EXPECT_EQ(IsEnabled(page, IDC_NEXT_SCREEN), press < 3) << "after press " << press;
        }
        EXPECT_EQ(screens.size(), 4u);
        // The last screen ends with the revision line, converted to the ANSI code page.
        const std::string last = TextOf(page, IDC_AGREEMENT);
        const std::string revision = "本协议最终修订日期： 2021-03-16";
        ASSERT_GE(last.size(), revision.size());
        EXPECT_EQ(last.substr(last.size() - revision.size()), revision);
        // Paging leaves the choice alone.
        EXPECT_TRUE(IsChecked(page, IDC_AGREE));

        for (int press = 1; press <= 3; ++press) {
            Click(page, IDC_PREV_SCREEN);
        }
        EXPECT_FALSE(IsEnabled(page, IDC_PREV_SCREEN));
        EXPECT_NE(TextOf(page, IDC_AGREEMENT).find("Varnok批打印软件最终用户许可协议"),
                  std::string::npos);
    });
}

// The height DrawText needs for the control's text at the control's width and font.
int NeededHeight(HWND control) {
    RECT box{};
    ::GetClientRect(control, &box);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::GetWindowTextA(control, text.data(), length + 1);
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needed = box;
    ::DrawTextA(dc, text.c_str(), -1, &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return needed.bottom - needed.top;
}

TEST(AgreementPage, EveryScreenFitsItsBox) {
    ContextGuard context;
    VisitPage<Dlg_Page1>([](HWND page) {
        const HWND text = ::GetDlgItem(page, IDC_AGREEMENT);
        RECT box{};
        ::GetClientRect(text, &box);
        for (int screen = 0; screen < 4; ++screen) {
            EXPECT_LE(NeededHeight(text), box.bottom) << "screen " << screen;
            Click(page, IDC_NEXT_SCREEN);
        }
    });
}

TEST(AgreementPage, NextFollowsTheChoice) {
    ContextGuard context;
    VisitPage<Dlg_Page1>([](HWND page) {
        Click(page, IDC_DISAGREE);
        EXPECT_FALSE(IsEnabled(page, IDOK));
        Click(page, IDC_AGREE);
        EXPECT_TRUE(IsEnabled(page, IDOK));
    });
}

TEST(AgreementPage, EnterDoesNothingWhileNextIsDisabled) {
    ContextGuard context;
    const INT_PTR result = VisitPage<Dlg_Page1>([](HWND page) {
        Click(page, IDC_DISAGREE);
        PressEnterOn(page, IDC_DISAGREE);
    });
    EXPECT_EQ(result, kProbeFinished) << "the page closed";
}

TEST(AgreementPage, OkCommandIsIgnoredWhileNextIsDisabled) {
    // Where Enter reaches the page as IDOK whatever the button's state (a page
    // without a default button), the disabled button must still not act.
    ContextGuard context;
    const INT_PTR result = VisitPage<Dlg_Page1>([](HWND page) {
        Click(page, IDC_DISAGREE);
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(page, IDOK)));
    });
    EXPECT_EQ(result, kProbeFinished) << "the page closed";
    EXPECT_EQ(g_nAgreeChoice, 1);
}

TEST(AgreementPage, EnterActsLikeNextWhileEnabled) {
    ContextGuard context;
    const INT_PTR result =
        VisitPage<Dlg_Page1>([](HWND page) { PressEnterOn(page, IDC_AGREE); },
                             [](Dlg_Page1& page) { EXPECT_EQ(page.m_nNextPage, 2); });
    EXPECT_EQ(result, IDOK);
}

TEST(AgreementPage, NextStoresTheChoiceAndCancelDoesNot) {
    ContextGuard context;
    g_nAgreeChoice = 0;  // as if "不同意" had been stored: the page opens on it
    const INT_PTR cancelled = VisitPage<Dlg_Page1>([](HWND page) {
        EXPECT_TRUE(IsChecked(page, IDC_DISAGREE));
        EXPECT_FALSE(IsEnabled(page, IDOK));
        Click(page, IDC_AGREE);
        Click(page, IDCANCEL);
    });
    EXPECT_EQ(cancelled, IDCANCEL);
    EXPECT_EQ(g_nAgreeChoice, 0);

    VisitPage<Dlg_Page1>(
        [](HWND page) {
            Click(page, IDC_AGREE);
            Click(page, IDOK);
        },
        [](Dlg_Page1& page) { EXPECT_EQ(page.m_nNextPage, 2); });
    EXPECT_EQ(g_nAgreeChoice, 1);
}

TEST(AgreementPage, CloseBoxEndsTheWizard) {
    ContextGuard context;
    const INT_PTR result = VisitPage<Dlg_Page1>([](HWND page) {
        ::SendMessageA(page, WM_CLOSE, 0, 0);
        MSG message;
        // The close box's IDCANCEL may arrive as a posted command.
        while (::PeekMessageA(&message, page, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace vk::test
