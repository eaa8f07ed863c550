// The folder typed on the install page: kept as typed across "上一步", a trailing backslash
// dropped (also of a drive root) before the product folder is added, and folders the
// registration could not use refused before anything is created, and a folder others may
// change asked about.
#include <gtest/gtest.h>

#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

using FolderInstall = InstallRun;

// Leaves page 3 by "上一步" and comes back by "下一步".
Window backAndForth(const AppProcess& app, const Window& page3) {
    const Window page2Again = clickFor(app, page3.control(kBack), page2());
    return clickFor(app, page2Again.control(IDOK), setup::page3());
}

// The files, the demand-load path and the trusted-path entry name `folder`; C:\Varnok is unused.
void expectInstalledInto(const std::string& folder, const std::string& trustedEntry,
                         const std::string& dataFolder) {
    SCOPED_TRACE(toUtf8(folder));
    expectProgramFiles(folder, dataFolder);
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(folder, 2018));
    const std::string trusted = trustedPathsOf(kAcad2018Variables);
    EXPECT_TRUE(trusted.ends_with(toUtf8(";" + trustedEntry))) << trusted;
    EXPECT_FALSE(pathExists(kDefaultInstallFolder));
}

TEST_F(FolderInstall, TypedFolderSurvivesBackAndItsTrailingBackslashIsDropped) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    folders.watch("D:\\Tools");
    AppProcess app = start();
    Window page = goToPage3(app);
    page.control(kFolder).setText("D:\\Tools\\");
    page = backAndForth(app, page);
    EXPECT_EQ(page.control(kFolder).text(), "D:\\Tools\\");

    installFor4(app, page).clickCloseBox();
    app.waitForExit();
    expectInstalledInto("D:\\Tools\\Varnok批打印软件", "D:\\TOOLS\\VARNOK批打印软件",
                        distribution.dataFolder());
}

TEST_F(FolderInstall, RefusedFoldersChangeNothingAndADriveRootTakesTheProductFolder) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    folders.watch(installFolderOf("D:\\"));
    const std::string tooLong = "D:\\" + std::string(230, 'L');
    folders.watch(tooLong);
    const MachineState before = MachineState::capture();
    AppProcess app = start();
    Window page = goToPage3(app);

    // A relative folder: the picker's own words, and no folder "abc" anywhere.
    page.control(kFolder).setText("abc");
    Window box = installForBox(app, page, kAppName);
    EXPECT_EQ(toUtf8(box.messageText()), "The folder:\n\nabc\n\nis invalid. Please reenter.");
    box.answer(IDOK);
    app.waitUntilClosed(box);
    EXPECT_FALSE(pathExists(joinPath(distribution.folder(), "abc")));
    EXPECT_EQ(page.control(kFolder).text(), "abc");

    // A ";" would make AutoCAD trust the folder's pieces: C:\Users\Public and a relative x.
    const std::string withSeparator = "C:\\Users\\Public;x";
    page.control(kFolder).setText(withSeparator);
    box = installForBox(app, page, kMessageCaption);
    EXPECT_TRUE(box.messageText().starts_with("安装路径不能含有分号")) << toUtf8(box.messageText());
    box.answer(IDOK);
    app.waitUntilClosed(box);
    EXPECT_FALSE(pathExists(withSeparator));
    EXPECT_FALSE(pathExists(installFolderOf(withSeparator)));

    // 230 + 17 bytes of install folder do not fit the demand-load path.
    page.control(kFolder).setText(tooLong);
    box = installForBox(app, page, kMessageCaption);
    EXPECT_TRUE(box.messageText().starts_with("安装路径太长")) << toUtf8(box.messageText());
    box.answer(IDOK);
    app.waitUntilClosed(box);
    EXPECT_FALSE(pathExists(tooLong));
    EXPECT_EQ(MachineState::capture().describe(), before.describe());

    // What a refused press leaves in the box is what comes back, never with the product folder.
    page = backAndForth(app, page);
    EXPECT_EQ(page.control(kFolder).text(), tooLong);

    page.control(kFolder).setText("D:\\");
    installFor4(app, page).pressEscape();
    app.waitForExit();
    expectInstalledInto("D:\\Varnok批打印软件", "D:\\VARNOK批打印软件", distribution.dataFolder());
}

// The longest name the installation writes into the folder sets its limit: with the sample's
// files, "PdfSharp.Charting.dll" (deployed from Varnok.prt8).
TEST_F(FolderInstall, AFolderAtTheLimitInstallsEveryFileAndOneByteMoreIsRefused) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    const size_t limit = MAX_PATH - 1 - 1 - longestDeployedName(distribution.dataFolder());
    const std::string drive = "D:\\";
    const std::string atLimit =
        drive + std::string(limit - drive.size() - installFolderOf("").size(), 'L');
    const std::string over = atLimit + "L";
    folders.watch(atLimit);
    folders.watch(over);
    AppProcess app = start();
    Window page = goToPage3(app);

    page.control(kFolder).setText(over);
    const Window box = installForBox(app, page, kMessageCaption);
    const std::string limitLine = "最多只能有 " + std::to_string(limit) + " 个字节";
    EXPECT_NE(box.messageText().find(limitLine), std::string::npos) << toUtf8(box.messageText());
    box.answer(IDOK);
    app.waitUntilClosed(box);
    EXPECT_FALSE(pathExists(over));

    page.control(kFolder).setText(atLimit);
    installFor4(app, page).pressEscape();
    app.waitForExit();
    ASSERT_EQ(installFolderOf(atLimit).size(), limit);
    expectProgramFiles(installFolderOf(atLimit), distribution.dataFolder());
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(installFolderOf(atLimit), 2018));
}

// A wizard leaves a folder others may change (here: Unix mode o+w, which Wine reads as
// Everyone's modify rights) to the install page, which asks; an unattended run refuses it.
TEST_F(FolderInstall, ADirThatOthersMayChangeIsAskedAboutOnTheInstallPage) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    const std::string shared = "C:\\VarnokShared";
    folders.make(shared);
    runOnHost("chmod o+w " + shellQuoted(hostPathOf(shared)));
    AppProcess app = startWith("/DIR=" + shared);
    const Window page = goToPage3(app);
    EXPECT_EQ(page.control(kFolder).text(), shared);

    const Window box = installForBox(app, page, kMessageCaption);
    EXPECT_TRUE(toUtf8(box.messageText()).ends_with(toUtf8("仍要安装到这里吗？")));
    box.answer(IDNO);
}

}  // namespace
}  // namespace vk::e2e::setup
