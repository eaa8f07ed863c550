// The typical run on a machine with AutoCAD 2018: every page left as offered, then every
// folder, file, key and value the installation leaves, and nothing else changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kOldTrustedPaths = ";C:\\Program Files (x86)\\VendorB\\ToolB\\0.10.1.58";
constexpr const char* kNewTrustedPaths =
    ";C:\\PROGRAM FILES (X86)\\VENDORB\\TOOLB\\0.10.1.58;C:\\VARNOK\\VARNOK批打印软件";

using TypicalInstall = InstallRun;

void expectOnly2018Offered(const Window& page2) {
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        SCOPED_TRACE(year);
        const Control box = page2.control(releaseBox(year));
        EXPECT_EQ(box.enabled(), year == 2018);
        EXPECT_EQ(box.checked(), year == 2018);
    }
}

TEST_F(TypicalInstall, AutoCad2018MachineGetsEveryFileKeyAndTrustedPath) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    // As shipped: the setup program inside Data too, and a sub-folder, neither deployed.
    ASSERT_TRUE(CopyFileA(setupProgram().c_str(), dataFile("SetUp.EXE").c_str(), FALSE));
    folders.make(dataFile("Docs"));
    writeFile(dataFile("Docs\\Note.txt"), "not deployed");
    const MachineState before = MachineState::capture();
    ASSERT_FALSE(before.installFolder) << "an earlier run left C:\\Varnok";
    ASSERT_EQ(trustedPathsOf(kAcad2018Variables), kOldTrustedPaths);

    AppProcess app = start();
    const Window first = app.waitForWindow(page1());
    EXPECT_TRUE(first.control(kAgree).checked());
    const Window second = clickFor(app, first.control(IDOK), page2());
    expectOnly2018Offered(second);
    const Window third = clickFor(app, second.control(IDOK), page3());
    EXPECT_EQ(third.control(kFolder).text(), "C:\\Varnok");
    EXPECT_EQ(third.control(IDOK).text(), "安  装");

    const Window fourth = installFor4(app, third);
    const std::string done = fourth.control(kUnnamedStatic).text();
    EXPECT_TRUE(done.starts_with("安装完成！")) << toUtf8(done);
    fourth.control(IDOK).click();
    EXPECT_EQ(app.waitForExit(), 0u);

    EXPECT_TRUE(isFolder(kDefaultInstallFolder));
    EXPECT_TRUE(isFolder(kDefaultProductFolder));
    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());
    expectSupportFiles(kAcad2018Folder, distribution.dataFolder(), false);

    const std::string applicationKey =
        std::string(kAcad2018Key) + "\\Applications\\VK_BatchPlot2018";
    EXPECT_EQ(demandLoadKeys(), std::vector<std::string>{applicationKey});
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));

    EXPECT_EQ(trustedPathsOf(kAcad2018Variables), toUtf8(kNewTrustedPaths));

    // Take back the two changes the registry should hold: then it is as it was.
    deleteRegistryTree(HKEY_LOCAL_MACHINE, applicationKey);
    writeRegistryString(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS", kOldTrustedPaths);
    const MachineState after = MachineState::capture();
    EXPECT_EQ(after.machineKeys.describe(), before.machineKeys.describe());
    EXPECT_EQ(after.wowKeys.describe(), before.wowKeys.describe());
    EXPECT_EQ(after.userKeys.describe(), before.userKeys.describe());
}

}  // namespace
}  // namespace vk::e2e::setup
