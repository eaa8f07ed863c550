// An unattended run under SYSTEM (as Intune and Configuration Manager start
// installers): everything for the machine, nothing into SYSTEM's own profile.
// Wine cannot run a program as SYSTEM, so this is shown here.
#include <gtest/gtest.h>

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string k2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\";
const std::string k2018User = "R22.0\\ACAD-1001:804";

TEST(UnattendedAsSystem, InstallsForTheMachineAndLeavesItsOwnProfileAlone) {
    InstallMachine machine;
    machine.files.Remove("C:\\Varnok");
    for (const char* name :
         {"Varnok_EN.shx", "Varnok_HZ.shx", "Varnok.Ini", "VK_BatchPlot2018.ARX"})
        machine.AddDataFile(name);
    machine.AddProduct(2018, k2018, "D:\\AutoCAD 2018");
    machine.SetTrustedPaths(k2018User, "Profile", "d:\\tools");
    SetupOptions options;
    options.mode = RunMode::VerySilent;

    EXPECT_EQ(RunUnattended(machine.services, machine.catalog, {options, nullptr, false}),
              kExitFinished);

    EXPECT_TRUE(machine.files.IsFile(kInstallDir + "\\VK_BatchPlot2018.ARX"));
    EXPECT_TRUE(machine.files.IsFile("D:\\AutoCAD 2018\\Fonts\\Varnok_HZ.shx"));
    EXPECT_TRUE(
        machine.registry.GetString(kHklm, k2018 + "Applications\\VK_BatchPlot2018", "LOADER"));
    EXPECT_EQ(machine.TrustedPaths(k2018User, "Profile"), "d:\\tools");
    EXPECT_FALSE(machine.files.IsFolder(kAppData + "\\Varnok"));
    EXPECT_EQ(machine.log.LinesWith("Running as SYSTEM").size(), 1u);
    EXPECT_EQ(machine.log.LinesWith("Skipped: Varnok.Ini").size(), 1u);
}

}  // namespace
}  // namespace vk::test
