// A distribution without its Data folder (not unpacked, or "Data" is a file): the wizard
// says so and ends, having registered and copied nothing.
#include <gtest/gtest.h>

#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kMissingDataText =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";

using MissingData = InstallRun;

TEST_F(MissingData, TheMessageEndsTheWizardWithNothingInstalled) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    ASSERT_TRUE(removeTree(distribution.dataFolder()));
    for (const bool dataIsAFile : {false, true}) {
        SCOPED_TRACE(dataIsAFile ? "a file named Data" : "no Data");
        if (dataIsAFile)
            writeFile(distribution.dataFolder(), "not a folder");
        const MachineState before = MachineState::capture();

        AppProcess app = start();
        const Window box = installForBox(app, goToPage3(app), kMessageCaption);
        EXPECT_EQ(toUtf8(box.messageText()), toUtf8(kMissingDataText));
        box.answer(IDOK);
        EXPECT_EQ(app.waitForExit(), 1u) << "could not start: no Data";

        // Refused before anything changed.
        EXPECT_FALSE(pathExists(kDefaultInstallFolder));
        EXPECT_FALSE(pathExists(settingsFolder()));
        EXPECT_TRUE(listFolder(joinPath(kAcad2018Folder, "Fonts")).empty());
        const MachineState after = MachineState::capture();
        EXPECT_EQ(after.machineKeys.describe(), before.machineKeys.describe());
        EXPECT_EQ(after.wowKeys.describe(), before.wowKeys.describe());
        EXPECT_EQ(after.userKeys.describe(), before.userKeys.describe());
    }
}

}  // namespace
}  // namespace vk::e2e::setup
