// The release selection page: which boxes discovery lets the user choose,
// the Next button that follows them, and what Back, Next and Cancel store.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "model/install_context.h"
#include "res/resource.h"
#include "ui/page_harness.h"
#include "ui/pages/dlg_page2.h"
#include "ui/test_catalog.h"

namespace vk::test {
namespace {

// The boxes in slot order, 2007 first.
constexpr int kBoxIds[] = {IDC_ACAD2007, IDC_ACAD2008, IDC_ACAD2009, IDC_ACAD2010, IDC_ACAD2011,
                           IDC_ACAD2012, IDC_ACAD2013, IDC_ACAD2014, IDC_ACAD2015, IDC_ACAD2016,
                           IDC_ACAD2017, IDC_ACAD2018, IDC_ACAD2019, IDC_ACAD2020, IDC_ACAD2021,
                           IDC_ACAD2022, IDC_ACAD2023, IDC_ACAD2024, IDC_ACAD2025, IDC_ACAD2026,
                           IDC_ACAD2027};
static_assert(std::size(kBoxIds) == kSelectableReleaseCount);

TEST(ReleasePage, OnlyTheFoundReleaseIsEnabledAndChecked) {
    ContextGuard context;
    SetFoundReleases({2018});
    VisitPage<Dlg_Page2>([](HWND page) {
        for (int slot = 0; slot < kSelectableReleaseCount; ++slot) {
            const bool found = slot == 2018 - 2007;
            EXPECT_EQ(IsEnabled(page, kBoxIds[slot]), found) << "year " << 2007 + slot;
            EXPECT_EQ(IsChecked(page, kBoxIds[slot]), found) << "year " << 2007 + slot;
            EXPECT_EQ(TextOf(page, kBoxIds[slot]), "For AutoCAD" + std::to_string(2007 + slot));
        }
        EXPECT_TRUE(IsEnabled(page, IDOK));
        Click(page, IDC_ACAD2018);
        EXPECT_FALSE(IsEnabled(page, IDOK));
        Click(page, IDC_ACAD2018);
        EXPECT_TRUE(IsEnabled(page, IDOK));
    });
}

TEST(ReleasePage, SlotsFollowYearsWhereTheIdsDoNot) {
    ContextGuard context;
    SetFoundReleases({2010, 2018});  // 2010 is slot 3 with control 1027; 2011 has 1026
    VisitPage<Dlg_Page2>(
        [](HWND page) {
            EXPECT_TRUE(IsEnabled(page, IDC_ACAD2010));
            EXPECT_FALSE(IsEnabled(page, IDC_ACAD2011));
            Click(page, IDC_ACAD2010);
            Click(page, IDOK);
        },
        [](Dlg_Page2& page) { EXPECT_EQ(page.m_nNextPage, 3); });
    EXPECT_EQ(g_bReleaseSelected[3], 0);
    EXPECT_EQ(g_bReleaseSelected[4], 0);
    EXPECT_EQ(g_bReleaseSelected[2018 - 2007], 1);
    // Releases that were not found are stored as not selected.
    EXPECT_EQ(std::count(std::begin(g_bReleaseSelected), std::end(g_bReleaseSelected), 0),
              kSelectableReleaseCount - 1);
}

TEST(ReleasePage, NothingFoundLeavesOnlyBackAndCancel) {
    ContextGuard context;
    VisitPage<Dlg_Page2>([](HWND page) {
        EXPECT_TRUE(std::none_of(std::begin(kBoxIds), std::end(kBoxIds), [page](int id) {
            return IsEnabled(page, id) || IsChecked(page, id);
        }));
        EXPECT_FALSE(IsEnabled(page, IDOK));
        EXPECT_TRUE(IsEnabled(page, IDC_BACK));
        EXPECT_TRUE(IsEnabled(page, IDCANCEL));
    });
}

TEST(ReleasePage, BackStoresTheSelectionForTheNextVisit) {
    ContextGuard context;
    SetFoundReleases({2010, 2018});
    const INT_PTR result = VisitPage<Dlg_Page2>(
        [](HWND page) {
            Click(page, IDC_ACAD2010);
            Click(page, IDC_BACK);
        },
        [](Dlg_Page2& page) { EXPECT_EQ(page.m_nNextPage, 1); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_bReleaseSelected[2010 - 2007], 0);
    EXPECT_EQ(g_bReleaseSelected[2018 - 2007], 1);

    VisitPage<Dlg_Page2>([](HWND page) {
        EXPECT_FALSE(IsChecked(page, IDC_ACAD2010));
        EXPECT_TRUE(IsChecked(page, IDC_ACAD2018));
    });
}

TEST(ReleasePage, CancelStoresNothing) {
    ContextGuard context;
    SetFoundReleases({2018});
    const INT_PTR result = VisitPage<Dlg_Page2>(
        [](HWND page) {
            Click(page, IDC_ACAD2018);
            Click(page, IDCANCEL);
        },
        [](Dlg_Page2& page) { EXPECT_EQ(page.m_nNextPage, 0); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(std::all_of(std::begin(g_bReleaseSelected), std::end(g_bReleaseSelected),
                            [](int selected) { return selected == 1; }));
}

TEST(ReleasePage, EnterDoesNothingWhileNoReleaseIsChecked) {
    ContextGuard context;
    SetFoundReleases({2018});
    const INT_PTR result = VisitPage<Dlg_Page2>([](HWND page) {
        Click(page, IDC_ACAD2018);
        PressEnterOn(page, IDC_ACAD2018);
    });
    EXPECT_EQ(result, kProbeFinished) << "the page closed";
}

}  // namespace
}  // namespace vk::test
