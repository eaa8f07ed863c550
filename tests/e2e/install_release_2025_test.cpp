// AutoCAD 2025 to 2027 load the module VK_BatchPlot2025.ARX, which not every package's Data
// folder holds: such a release is offered only with its module, and page 2 names the releases
// found that the package cannot serve.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kModule2025 = "VK_BatchPlot2025.ARX";

// AutoCAD 2025 alone.
constexpr const char* kMachine2025 = "registry/m5-enu-2025-x64.reg";
constexpr const char* kAcad2025Folder = "C:\\Program Files\\Autodesk\\AutoCAD 2025";
constexpr const char* kAcad2025Key = "SOFTWARE\\Autodesk\\AutoCAD\\R25.0\\ACAD-8101:409";

// AutoCAD 2018 beside 2026.
constexpr const char* kMachine2018And2026 = "registry/m6-chs-2018-plus-2026-x64.reg";
constexpr const char* kAcad2026Folder = "D:\\Program Files\\Autodesk\\AutoCAD 2026";

using NewRelease = InstallRun;

Window openPage2(const AppProcess& app) {
    const Window first = app.waitForWindow(page1());
    return clickFor(app, first.control(IDOK), page2());
}

void expectOffered(const Window& page2, const std::set<int>& offered) {
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        SCOPED_TRACE(year);
        const Control box = page2.control(releaseBox(year));
        EXPECT_EQ(box.enabled(), offered.contains(year));
        EXPECT_EQ(box.checked(), offered.contains(year));
    }
}

TEST_F(NewRelease, WithoutItsModuleNothingIsOfferedAndThePageSaysWhy) {
    seedMachine(kMachine2025, {kAcad2025Folder});
    const MachineState before = MachineState::capture();
    AppProcess app = start();
    const Window second = openPage2(app);
    expectOffered(second, {});
    const Control line = second.control(kUnservedReleases);
    EXPECT_TRUE(line.visible());
    EXPECT_EQ(toUtf8(line.text()),
              toUtf8("本机的AutoCAD 2025不能安装：安装包的Data文件夹中缺少VK_BatchPlot2025.ARX，"
                     "没有可安装的版本。"));
    EXPECT_FALSE(second.control(IDOK).enabled());

    second.control(IDCANCEL).click();
    app.waitForExit();
    EXPECT_EQ(MachineState::capture().describe(), before.describe());
}

TEST_F(NewRelease, WithItsModuleItIsOfferedAndInstalledLikeAnyOther) {
    seedMachine(kMachine2025, {kAcad2025Folder});
    writeFile(dataFile(kModule2025), "VK_BatchPlot2025 stand-in");
    AppProcess app = start();
    const Window second = openPage2(app);
    expectOffered(second, {2025});
    EXPECT_FALSE(second.control(kUnservedReleases).visible());
    const Window third = clickFor(app, second.control(IDOK), page3());
    installFor4(app, third).control(IDOK).click();
    app.waitForExit();

    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());  // the module too
    expectSupportFiles(kAcad2025Folder, distribution.dataFolder(), false);
    EXPECT_EQ(demandLoadKeys(), std::vector<std::string>{std::string(kAcad2025Key) +
                                                         "\\Applications\\VK_BatchPlot2025"});
    expectDemandLoadKey(kAcad2025Key, 2025, loaderOf(kDefaultProductFolder, 2025));
}

TEST_F(NewRelease, AnOlderReleaseIsOfferedBesideOneThePackageCannotServe) {
    seedMachine(kMachine2018And2026, {kAcad2018Folder, kAcad2026Folder});
    AppProcess app = start();
    const Window second = openPage2(app);
    expectOffered(second, {2018});
    EXPECT_EQ(toUtf8(second.control(kUnservedReleases).text()),
              toUtf8("本机的AutoCAD 2026不能安装：安装包的Data文件夹中缺少VK_BatchPlot2025.ARX。"));
    const Window third = clickFor(app, second.control(IDOK), page3());
    installFor4(app, third).control(IDOK).click();
    app.waitForExit();

    // 2026 was found but never chosen: nothing of the add-in reaches it.
    EXPECT_EQ(demandLoadKeys(), std::vector<std::string>{std::string(kAcad2018Key) +
                                                         "\\Applications\\VK_BatchPlot2018"});
    EXPECT_TRUE(listFolder(joinPath(kAcad2026Folder, "Fonts")).empty());
    expectSupportFiles(kAcad2018Folder, distribution.dataFolder(), false);
}

}  // namespace
}  // namespace vk::e2e::setup
