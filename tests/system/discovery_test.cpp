// Discovery on sample machines seeded into the real registry under Wine,
// read through the Win32 registry as SetUp.exe reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "platform/win32/system_services.h"
#include "wine_machine.h"

namespace vk::systest {
namespace {

// Every entry of the catalogue as "year|key|location", slot by slot.
std::vector<std::string> DiscoverOnThisMachine() {
    CAcadReleaseCatalog catalog(win32::SystemServices());
    catalog.DiscoverReleases();
    std::vector<std::string> entries;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        const CStringList& keys = catalog.m_arrProductKeys[slot];
        const CStringList& locations = catalog.m_arrAcadLocations[slot];
        EXPECT_EQ(keys.size(), locations.size()) << "slot " << slot;
        for (std::size_t i = 0; i < keys.size() && i < locations.size(); ++i) {
            entries.push_back(std::to_string(kFirstReleaseYear + slot) + "|" + keys[i] + "|" +
                              locations[i]);
        }
    }
    return entries;
}

using Entries = std::vector<std::string>;

TEST(DiscoveryOnWine, NoAutodeskKeysNoReleases) {
    ASSERT_TRUE(ClearAutodeskKeys());
    EXPECT_EQ(DiscoverOnThisMachine(), Entries{});
}

TEST(DiscoveryOnWine, ThirtyTwoBit2008Beside2014) {
    SampleMachine machine("registry/m2-chs-2008x86-on-x64-plus-2014.reg");
    ASSERT_TRUE(machine.Imported());
    EXPECT_EQ(DiscoverOnThisMachine(),
              (Entries{"2008|SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\|"
                       "C:\\Program Files (x86)\\AutoCAD 2008",
                       "2014|SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\|"
                       "D:\\Program Files\\Autodesk\\AutoCAD 2014"}));
}

TEST(DiscoveryOnWine, TwoProductsOfOneYearInEnumerationOrder) {
    SampleMachine machine("registry/two-products-2018.reg");
    ASSERT_TRUE(machine.Imported());
    EXPECT_EQ(DiscoverOnThisMachine(),
              (Entries{"2018|SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:409\\|"
                       "C:\\Program Files\\Autodesk\\AutoCAD 2018\\",
                       "2018|SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\|"
                       "D:\\Program Files\\Autodesk\\AutoCAD 2018"}));
}

TEST(DiscoveryOnWine, EnglishReleasesBesideLt) {
    SampleMachine machine("registry/m4-enu-2020-2021-2022-plus-lt2022.reg");
    ASSERT_TRUE(machine.Imported());
    EXPECT_EQ(DiscoverOnThisMachine(),
              (Entries{"2020|SOFTWARE\\Autodesk\\AutoCAD\\R23.1\\ACAD-3001:409\\|"
                       "C:\\Program Files\\Autodesk\\AutoCAD 2020",
                       "2021|SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:409\\|"
                       "C:\\Program Files\\Autodesk\\AutoCAD 2021",
                       "2022|SOFTWARE\\Autodesk\\AutoCAD\\R24.1\\ACAD-5101:409\\|"
                       "C:\\Program Files\\Autodesk\\AutoCAD 2022"}));
}

}  // namespace
}  // namespace vk::systest
