// How long the install folder may be: "<folder>\<name>" of the longest name
// the installation writes into it fits the file system's 259 bytes.
#include <gtest/gtest.h>

#include "engine/install_folder_limit.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

using InstallFolderLimit = InstallFixture;

TEST_F(InstallFolderLimit, FollowsTheLongestNameDeployedThere) {
    // Not into the install folder, however long their names.
    files.AddFolder(kDataFolder + "\\" + std::string(60, 'f'));
    for (const char* name : {"SetUp.EXE", "Varnok_EN.shx", "Varnok.prt5"})
        AddDataFile(name);
    // Without Data's files: the module names of the demand-load keys (20 bytes).
    EXPECT_EQ(MaxInstallFolderBytes(services), 259u - 1 - 20);

    AddDataFile("varnok.PRT8");  // deployed as PdfSharp.Charting.dll, 21 bytes
    EXPECT_EQ(MaxInstallFolderBytes(services), 259u - 1 - 21);
    AddDataFile("使用说明-" + std::string(30, 'x') + ".txt");  // 43 bytes
    EXPECT_EQ(MaxInstallFolderBytes(services), 259u - 1 - 43);
    EXPECT_EQ(InstallFolderOverLimit(services, "C:\\" + std::string(212, 'f')), std::nullopt);
    EXPECT_EQ(InstallFolderOverLimit(services, "C:\\" + std::string(213, 'f')), 215u);
    ExpectNothingLeftOpen();
}

TEST_F(InstallFolderLimit, WithoutDataTheModulesSetIt) {
    files.Remove(kDataFolder);
    EXPECT_EQ(MaxInstallFolderBytes(services), 259u - 1 - 20);
}

}  // namespace
}  // namespace vk::test
