// The sample machines of tests/fixtures/registry reach the real registry
// through regedit, Chinese names intact, and leave no Autodesk key behind.
#include "wine_machine.h"

#include <gtest/gtest.h>

namespace vk::systest {
namespace {

const char* const kProduct2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804";

TEST(SampleMachine, ImportsTheChinese2018MachineAndRemovesItAfterwards) {
    {
        SampleMachine machine("registry/m1-chs-2018-x64.reg");
        ASSERT_TRUE(machine.Imported());

        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kProduct2018, "AcadLocation")
                      .value_or("<missing>"),
                  "D:\\Program Files\\Autodesk\\AutoCAD 2018");
        // The export is UTF-16; the ANSI functions give GBK, as the literal is.
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kProduct2018, "ProductName")
                      .value_or("<missing>"),
                  "AutoCAD 2018 - 简体中文 (Simplified Chinese)");
        EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER,
                                 "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\"
                                 "<<未命名配置>>\\Variables"));
    }
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Autodesk"));
}

TEST(SampleMachine, RemovesThe32BitViewToo) {
    const char* const product2008 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804";
    {
        SampleMachine machine("registry/m2-chs-2008x86-on-x64-plus-2014.reg");
        ASSERT_TRUE(machine.Imported());
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, product2008, "AcadLocation")
                      .value_or("<missing>"),
                  "C:\\Program Files (x86)\\AutoCAD 2008");
    }
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk"));
}

TEST(SampleMachine, StartsFromACleanRegistry) {
    {
        SampleMachine first("registry/m4-enu-2020-2021-2022-plus-lt2022.reg");
        ASSERT_TRUE(first.Imported());
        // Nothing of the previous machine may remain in the next one.
        SampleMachine second("registry/m1-chs-2018-x64.reg");
        ASSERT_TRUE(second.Imported());
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R23.1"));
        EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kProduct2018));
    }
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk"));
}

TEST(SampleMachine, AMissingFixtureIsNotImported) {
    SampleMachine machine("registry/no-such-machine.reg");
    EXPECT_FALSE(machine.Imported());
}

}  // namespace
}  // namespace vk::systest
