// Pieces of the dialog layer that the pages do not show directly.
#include <gtest/gtest.h>

#include "ui/framework/win_app.h"

namespace {

TEST(AppName, IsTheProgramFileWithoutFolderAndExtension) {
    EXPECT_EQ(AppNameFromModulePath("C:\\dist\\SetUp.exe"), "SetUp");
    EXPECT_EQ(AppNameFromModulePath("C:\\v1.2\\SetUp"), "SetUp");
    EXPECT_EQ(AppNameFromModulePath("SetUp.exe"), "SetUp");
}

TEST(AppName, KeepsDoubleByteCharactersWhole) {
    // "乗" is 0x81 0x5C in GBK: its trail byte is a backslash.
    EXPECT_EQ(AppNameFromModulePath("C:\\dist\\\x81\x5C.exe"), "\x81\x5C");
}

}  // namespace
