// "安  装" on the install page under Wine: the folders it creates, the files,
// registration and progress of a whole installation, the warning about a
// running AutoCAD, and a deployment that fails.
#include <gtest/gtest.h>

#include <string>

#include "acad/release_catalog.h"
#include "app/install_context.h"
#include "app/win/setup_objects.h"
#include "engine/acad_running.h"
#include "engine/demand_load.h"
#include "engine/install_texts.h"
#include "install_actions_support.h"
#include "platform/win32/system_services.h"
#include "res/resource.h"
#include "ui/page3_support.h"
#include "wine_machine.h"

namespace vk::uitest {
namespace {

const std::string kProduct = "\\Varnok批打印软件";

// Presses "安  装" with `folder` in the box; the page closes by itself.
PageRun InstallInto(const std::string& folder) {
    return RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(folder);
        page.control(IDOK).click();
        WaitUntilClosed(page);
    });
}

class InstallPageInstalls : public ::testing::Test {
protected:
    FreshContext m_context;
    ScratchPaths m_scratch{"C:\\Varnok", AppDataFolder() + "\\Varnok"};
    SampleData m_data;
};

TEST_F(InstallPageInstalls, TheDefaultFolderIntoItsProductFolderAndFillsTheBar) {
    std::string shown;
    const PageRun run = RunPage([&](const e2e::Window& page) {
        shown = page.control(IDC_FOLDER).text();
        page.control(IDOK).click();
        WaitUntilClosed(page);
    });
    const std::string installDir = "C:\\Varnok" + kProduct;
    EXPECT_EQ(shown, "C:\\Varnok");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_EQ(run.progressHigh, 50);
    EXPECT_EQ(run.progressPos, 50);
    EXPECT_EQ(g_strInstallFolder, "C:\\Varnok");
    EXPECT_EQ(theCatalog.m_strInstallDir, installDir);
    EXPECT_TRUE(Exists(installDir + "\\VK_BatchPlot2018.ARX"));
    EXPECT_TRUE(Exists(installDir + "\\PdfSharp.dll"));
    EXPECT_TRUE(Exists(AppDataFolder() + "\\Varnok\\Varnok.Ini"));
}

TEST_F(InstallPageInstalls, AFolderWithATrailingBackslashWithoutDoublingIt) {
    ScratchPaths scratch{"D:\\vk-tools"};
    const PageRun run = InstallInto("D:\\vk-tools\\");
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_EQ(g_strInstallFolder, "D:\\vk-tools\\");  // as typed
    EXPECT_EQ(theCatalog.m_strInstallDir, "D:\\vk-tools" + kProduct);
    EXPECT_TRUE(Exists("D:\\vk-tools" + kProduct + "\\VK_BatchPlot2018.ARX"));
}

TEST_F(InstallPageInstalls, TheDriveRootIntoTheProductFolderAtTheRoot) {
    ScratchPaths scratch{"D:" + kProduct};
    const PageRun run = InstallInto("D:\\");
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_EQ(theCatalog.m_strInstallDir, "D:" + kProduct);
    EXPECT_TRUE(Exists("D:" + kProduct + "\\VK_BatchPlot2018.ARX"));
}

TEST_F(InstallPageInstalls, AFolderEndingInACharacterWhoseSecondByteIsABackslash) {
    const std::string folder = "D:\\vk-乗";  // 0x81 0x5C: not a trailing backslash
    ScratchPaths scratch{folder};
    const PageRun run = InstallInto(folder);
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_EQ(theCatalog.m_strInstallDir, folder + kProduct);
    EXPECT_TRUE(Exists(folder + kProduct + "\\VK_BatchPlot2018.ARX"));
}

TEST_F(InstallPageInstalls, WithAWarningFirstWhileAutoCadRuns) {
    ScratchPaths scratch{"C:\\vk-acad"};
    ASSERT_TRUE(::CreateDirectoryA("C:\\vk-acad", nullptr));
    const systest::StandIn acad("C:\\vk-acad", "acad.exe");
    ASSERT_TRUE(acad.Running());
    const ULONGLONG deadline = ::GetTickCount64() + 10'000;
    while (!IsAcadRunning(win32::SystemServices()) && ::GetTickCount64() < deadline) {
        ::Sleep(20);
    }
    ASSERT_TRUE(IsAcadRunning(win32::SystemServices()));

    SeenBox warning;
    bool openAfterWarning = false, createdAfterWarning = true;
    const PageRun run = RunPage([&](const e2e::Window& page) {
        page.control(IDOK).click();
        warning = ReadAndAnswer(kSetupCaption);
        openAfterWarning = page.visible();
        createdAfterWarning = Exists("C:\\Varnok");
        page.control(IDOK).click();  // AutoCAD still runs
        WaitUntilClosed(page);
    });
    EXPECT_EQ(warning.text, "请关闭AutoCAD后再进行安装 !");
    EXPECT_EQ(warning.icon, "none");
    EXPECT_EQ(warning.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(openAfterWarning);
    EXPECT_FALSE(createdAfterWarning);
    EXPECT_FALSE(g_bWarnAcadRunning);
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_TRUE(Exists("C:\\Varnok" + kProduct + "\\VK_BatchPlot2018.ARX"));
}

TEST_F(InstallPageInstalls, AndRegistersTheInstallFolderWithTheFoundRelease) {
    const systest::SampleMachine machine("registry/m1-chs-2018-x64.reg");
    ASSERT_TRUE(machine.Imported());
    theCatalog.DiscoverReleases();
    const CStringList& productKeys = theCatalog.m_arrProductKeys[2018 - kFirstReleaseYear];
    ASSERT_EQ(productKeys.size(), 1u);

    const PageRun run = InstallInto("C:\\Varnok");
    ASSERT_EQ(run.nextPage, 4);
    EXPECT_EQ(
        systest::ReadRegString(HKEY_LOCAL_MACHINE,
                               productKeys.front() + "\\" + ApplicationKeyName(2018), "LOADER"),
        LoaderPath("C:\\Varnok" + kProduct, 2018));
}

TEST(InstallPage, WithoutDataEndsTheWizardAfterTheMessageWithNothingMade) {
    FreshContext context;
    ScratchPaths scratch{"C:\\Varnok", DataFolder()};
    SeenBox message;
    const PageRun run = RunPage([&](const e2e::Window& page) {
        page.control(IDOK).click();
        message = ReadAndAnswer(kSetupCaption);
        WaitUntilClosed(page);
    });
    EXPECT_EQ(message.text, kMissingDataText);
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.nextPage, 0);
    EXPECT_FALSE(IsFolder("C:\\Varnok"));  // refused before anything changed
}

}  // namespace
}  // namespace vk::uitest
