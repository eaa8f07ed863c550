// What the fuzz targets found, pinned as plain tests beside the inputs that
// found it (corpus/<target>/regression-*).
#include <gtest/gtest.h>

#include "engine/trusted_paths.h"
#include "platform/memory/cp936_codepage.h"

namespace vk {
namespace {

const memory::Cp936CodePage kCp;

// A lead byte that ends the old list took the appended ";" as its trail byte,
// so the folder was glued to the last entry and appended again on every
// installation.
TEST(FuzzFindings, OldListEndingInALeadByteKeepsTheFolderApart) {
    const std::string old = "D:\\X\xC9";
    const std::string composed = ComposeTrustedPaths(old, "C:\\Varnok", kCp);
    EXPECT_EQ(composed, "D:\\X\xC9;;C:\\VARNOK");
    EXPECT_TRUE(TrustedPathsHold(composed, "C:\\Varnok", kCp));
    EXPECT_EQ(ComposeTrustedPaths(composed, "C:\\Varnok", kCp), composed);
}

// A folder with ";" in its name is several entries once listed: it was never
// found again, and every installation appended it once more.
TEST(FuzzFindings, FolderWithASemicolonIsAddedOnce) {
    const std::string folder = "C:\\a;b\\Varnok";
    const std::string composed = ComposeTrustedPaths("D:\\x", folder, kCp);
    EXPECT_EQ(composed, "D:\\X;C:\\A;B\\VARNOK");
    EXPECT_EQ(ComposeTrustedPaths(composed, folder, kCp), composed);
    EXPECT_TRUE(TrustedPathsHold("C:\\A;B\\VARNOK\\...;E:\\", folder, kCp));
    // Its pieces apart, or only some of them, are not the folder.
    EXPECT_FALSE(TrustedPathsHold("C:\\A;E:\\;B\\VARNOK", folder, kCp));
    EXPECT_FALSE(TrustedPathsHold("B\\VARNOK", folder, kCp));
}

// A folder that ends in AutoCAD's "\..." marker is the folder without it, as
// an entry is.
TEST(FuzzFindings, FolderWithTheMarkerIsFoundAgain) {
    const std::string composed = ComposeTrustedPaths("E:\\B", "C:\\V\\...", kCp);
    EXPECT_EQ(composed, "E:\\B;C:\\V\\...");
    EXPECT_EQ(ComposeTrustedPaths(composed, "C:\\V\\...", kCp), composed);
    EXPECT_TRUE(TrustedPathsHold("C:\\V", "C:\\V\\...", kCp));
}

}  // namespace
}  // namespace vk
