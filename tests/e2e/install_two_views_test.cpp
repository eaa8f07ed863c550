// AutoCAD 2008 in both registry views beside a 32-bit AutoCAD 2007: each product gets its own
// demand-load key in its own view, each installation its fonts, and only the 2008 ones the
// plotter driver; every profile's trusted paths get the folder, also beside a neighbour entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kMachine = "registry/two-views-2008-plus-2007.reg";
constexpr const char* kAcad2007Folder = "C:\\Program Files (x86)\\AutoCAD 2007";
constexpr const char* kAcad2008x86Folder = "C:\\Program Files (x86)\\AutoCAD 2008";
constexpr const char* kAcad2008x64Folder = "C:\\Program Files\\AutoCAD 2008";
constexpr const char* kAcad2007Key =
    "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804";
constexpr const char* kAcad2008x86Key =
    "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804";
constexpr const char* kAcad2008x64Key = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:409";
constexpr const char* kChineseProfile =
    "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";
constexpr const char* kEnglishProfile =
    "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:409\\Profiles\\<<Unnamed Profile>>\\Variables";

using TwoViewsInstall = InstallRun;

TEST_F(TwoViewsInstall, EveryProductOfBothViewsIsRegisteredAndSupplied) {
    seedMachine(kMachine, {kAcad2007Folder, kAcad2008x86Folder, kAcad2008x64Folder});
    AppProcess app = start();
    const Window first = app.waitForWindow(page1());
    const Window second = clickFor(app, first.control(IDOK), page2());
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        SCOPED_TRACE(year);
        const bool found = year == 2007 || year == 2008;
        EXPECT_EQ(second.control(releaseBox(year)).enabled(), found);
        EXPECT_EQ(second.control(releaseBox(year)).checked(), found);
    }
    const Window third = clickFor(app, second.control(IDOK), page3());
    installFor4(app, third).control(IDOK).click();
    app.waitForExit();

    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());
    expectSupportFiles(kAcad2007Folder, distribution.dataFolder(), false);
    expectSupportFiles(kAcad2008x86Folder, distribution.dataFolder(), true);
    expectSupportFiles(kAcad2008x64Folder, distribution.dataFolder(), true);

    // One module serves 2007 and 2008; the key carries the year.
    const std::string loader = loaderOf(kDefaultProductFolder, 2008);
    expectDemandLoadKey(kAcad2007Key, 2007, loader);
    expectDemandLoadKey(kAcad2008x86Key, 2008, loader);
    expectDemandLoadKey(kAcad2008x64Key, 2008, loader);
    std::vector<std::string> keys = demandLoadKeys();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        std::string(kAcad2008x64Key) + "\\Applications\\VK_BatchPlot2008",
                        std::string(kAcad2007Key) + "\\Applications\\VK_BatchPlot2007",
                        std::string(kAcad2008x86Key) + "\\Applications\\VK_BatchPlot2008"}));

    // A profile without a list gets the folder as typed; a list naming a longer folder that
    // begins with the install folder's path still gets the install folder appended.
    EXPECT_EQ(trustedPathsOf(kChineseProfile), toUtf8(kDefaultProductFolder));
    EXPECT_EQ(trustedPathsOf(kEnglishProfile),
              toUtf8("D:\\CAD TOOLS;C:\\VARNOK\\VARNOK批打印软件2;C:\\VARNOK\\VARNOK批打印软件"));
}

}  // namespace
}  // namespace vk::e2e::setup
