#include "model/install_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A static object of another translation unit, as theApp and theCatalog are:
// it must find the install folder already constructed.
struct FolderSeenAtStaticInit {
    std::string folder = g_strInstallFolder;
};
const FolderSeenAtStaticInit kSeenAtStaticInit;

TEST(InstallContext, FolderIsConstructedBeforeOtherStaticObjects) {
    EXPECT_EQ(kSeenAtStaticInit.folder, "C:\\Varnok");
}

TEST(InstallContext, StartsWithAgreementAcceptedAllReleasesAndWarningArmed) {
    EXPECT_EQ(g_strInstallFolder, "C:\\Varnok");
    EXPECT_EQ(g_nAgreeChoice, 1);
    EXPECT_TRUE(std::all_of(std::begin(g_bReleaseSelected), std::end(g_bReleaseSelected),
                            [](int selected) { return selected == 1; }));
    EXPECT_TRUE(g_bWarnAcadRunning);
}

TEST(VersionLine, ShowsThisBuildsVersionAndWidth) {
    EXPECT_EQ(VersionLine(), "Varnok批打印软件 V2023.5.26 (64位版本)");
}

TEST(VersionLine, PartsHaveNoLeadingZeros) {
    EXPECT_EQ(FormatVersionLine(20230506, 64), "Varnok批打印软件 V2023.5.6 (64位版本)");
    EXPECT_EQ(FormatVersionLine(20240100, 64), "Varnok批打印软件 V2024.1.0 (64位版本)");
    EXPECT_EQ(FormatVersionLine(123456, 64), "Varnok批打印软件 V12.34.56 (64位版本)");
}

TEST(VersionLine, ThirtyTwoBitBuild) {
    EXPECT_EQ(FormatVersionLine(20230526, 32), "Varnok批打印软件 V2023.5.26 (32位版本)");
}

}  // namespace
