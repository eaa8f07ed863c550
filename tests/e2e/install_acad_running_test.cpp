// A running AutoCAD: the first press of "安  装" warns and changes nothing, the second one
// installs although AutoCAD still runs.
#include <gtest/gtest.h>

#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

using AcadRunningInstall = InstallRun;

TEST_F(AcadRunningInstall, WarnsOnceAndInstallsOnTheSecondPress) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    const std::string acadFolder = joinPath(distribution.folder(), "AutoCAD 2018");
    folders.make(acadFolder);
    const std::string acad = joinPath(acadFolder, "acad.exe");
    ASSERT_TRUE(
        CopyFileA(joinPath(programFolder(), "acad_stand_in.exe").c_str(), acad.c_str(), FALSE));
    const AppProcess autocad = AppProcess::start(acad);
    const MachineState before = MachineState::capture();

    AppProcess app = start();
    const Window page = goToPage3(app);
    const Window warning = installForBox(app, page, kMessageCaption);
    EXPECT_EQ(toUtf8(warning.messageText()), toUtf8("请关闭AutoCAD后再进行安装 !"));
    warning.answer(IDOK);
    app.waitUntilClosed(warning);
    app.waitUntil([&] { return page.enabled(); }, "page 3 usable again");
    EXPECT_TRUE(page.visible());
    EXPECT_EQ(MachineState::capture().describe(), before.describe());

    ASSERT_TRUE(autocad.running());
    installFor4(app, page).control(IDOK).click();
    app.waitForExit();
    EXPECT_TRUE(autocad.running()) << "the setup does not end AutoCAD";
    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
    expectSupportFiles(kAcad2018Folder, distribution.dataFolder(), false);
}

}  // namespace
}  // namespace vk::e2e::setup
