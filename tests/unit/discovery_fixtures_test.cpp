// Discovery on memory copies of the sample machines' HKEY_LOCAL_MACHINE
// (tests/fixtures/registry/*.reg), stray keys included.
#include <gtest/gtest.h>

#include "discovery_support.h"

namespace vk::test {
namespace {

using Products = std::vector<FoundProduct>;
constexpr RegRoot kHklm = RegRoot::LocalMachine;

TEST(DiscoverySampleMachines, Chinese2018OnDriveD) {
    DiscoveryMachine machine;
    machine.registry.SetStringValue(kHklm, kNativeRoot, "CurVer", "R22.0");
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R22.0", "CurVer", "ACAD-1001:804");
    machine.AddProduct(kNativeRoot + "R22.0\\ACAD-1001:804",
                       "AutoCAD 2018 - 简体中文 (Simplified Chinese)",
                       "D:\\Program Files\\Autodesk\\AutoCAD 2018");
    machine.registry.SetStringValue(
        kHklm, kNativeRoot + "R22.0\\ACAD-1001:804\\Applications\\SunacCAD", "LOADER",
        "C:\\Program Files\\SunacCAD\\X64\\SunacCAD2018X64.arx");
    EXPECT_EQ(machine.Discover(), (Products{{2018, kNativeRoot + "R22.0\\ACAD-1001:804\\",
                                             "D:\\Program Files\\Autodesk\\AutoCAD 2018"}}));
}

TEST(DiscoverySampleMachines, ThirtyTwoBit2008Beside2014WithStrayKeys) {
    DiscoveryMachine machine;
    machine.AddProduct(kWowRoot + "R17.1\\ACAD-6001:804", "AutoCAD 2008",
                       "C:\\Program Files (x86)\\AutoCAD 2008");
    machine.AddProduct(kNativeRoot + "R19.1\\ACAD-D001:804",
                       "AutoCAD 2014 - 简体中文 (Simplified Chinese)",
                       "D:\\Program Files\\Autodesk\\AutoCAD 2014");
    machine.registry.SetStringValue(
        kHklm, kNativeRoot + "R19.1\\ACAD-D001:804\\Applications\\AddinManager", "DESCRIPTION",
        "AddinManager");
    for (const std::string& stray :
         {kNativeRoot + "R20.00\\ACAD-E001:409", kWowRoot + "R32.0\\ACAD-0001:804",
          kWowRoot + "R19.1\\ACAD-D001:804"}) {
        machine.registry.SetStringValue(kHklm, stray + "\\Applications\\SunacCAD", "LOADER",
                                        "C:\\Program Files\\SunacCAD\\X86\\SunacCAD.arx");
    }
    EXPECT_EQ(machine.Discover(), (Products{{2008, kWowRoot + "R17.1\\ACAD-6001:804\\",
                                             "C:\\Program Files (x86)\\AutoCAD 2008"},
                                            {2014, kNativeRoot + "R19.1\\ACAD-D001:804\\",
                                             "D:\\Program Files\\Autodesk\\AutoCAD 2014"}}));
}

TEST(DiscoverySampleMachines, English2020To2022BesideLt) {
    DiscoveryMachine machine;
    machine.AddProduct(kNativeRoot + "R23.1\\ACAD-3001:409", "AutoCAD 2020 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2020");
    machine.registry.SetStringValue(kHklm,
                                    kNativeRoot + "R23.1\\ACAD-3001:409\\Applications\\AcadDemo",
                                    "Description", "AcadDemo");
    machine.AddProduct(kNativeRoot + "R24.0\\ACAD-4101:409", "AutoCAD 2021 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2021");
    machine.AddProduct(kNativeRoot + "R24.1\\ACAD-5101:409", "AutoCAD 2022 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2022");
    machine.registry.SetStringValue(kHklm, "SOFTWARE\\Autodesk\\AutoCAD LT\\R28\\ACADLT-5101:409",
                                    "ProductName", "AutoCAD LT 2022 - English");
    EXPECT_EQ(machine.Discover(), (Products{{2020, kNativeRoot + "R23.1\\ACAD-3001:409\\",
                                             "C:\\Program Files\\Autodesk\\AutoCAD 2020"},
                                            {2021, kNativeRoot + "R24.0\\ACAD-4101:409\\",
                                             "C:\\Program Files\\Autodesk\\AutoCAD 2021"},
                                            {2022, kNativeRoot + "R24.1\\ACAD-5101:409\\",
                                             "C:\\Program Files\\Autodesk\\AutoCAD 2022"}}));
}

TEST(DiscoverySampleMachines, Releases2025To2027EachInItsSlot) {
    DiscoveryMachine machine;  // m7-2025-2026-2027-plus-lt2026.reg
    machine.AddProduct(kNativeRoot + "R25.0\\ACAD-8101:409", "AutoCAD 2025 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2025");
    machine.AddProduct(kNativeRoot + "R25.1\\ACAD-9101:409", "AutoCAD 2026 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2026");
    machine.AddProduct(kNativeRoot + "R25.1\\ACAD-9101:804",
                       "AutoCAD 2026 - 简体中文 (Simplified Chinese)", "D:\\AutoCAD 2026");
    machine.AddProduct(kNativeRoot + "R25.2\\ACAD-A101:409", "AutoCAD 2027 - English",
                       "C:\\Program Files\\Autodesk\\AutoCAD 2027");
    machine.AddProduct("SOFTWARE\\Autodesk\\AutoCAD LT\\R31\\ACADLT-9101:409",
                       "AutoCAD LT 2026 - English", "C:\\Program Files\\Autodesk\\AutoCAD LT 2026");
    EXPECT_EQ(machine.Discover(),
              (Products{{2025, kNativeRoot + "R25.0\\ACAD-8101:409\\",
                         "C:\\Program Files\\Autodesk\\AutoCAD 2025"},
                        {2026, kNativeRoot + "R25.1\\ACAD-9101:409\\",
                         "C:\\Program Files\\Autodesk\\AutoCAD 2026"},
                        {2026, kNativeRoot + "R25.1\\ACAD-9101:804\\", "D:\\AutoCAD 2026"},
                        {2027, kNativeRoot + "R25.2\\ACAD-A101:409\\",
                         "C:\\Program Files\\Autodesk\\AutoCAD 2027"}}));
}

}  // namespace
}  // namespace vk::test
