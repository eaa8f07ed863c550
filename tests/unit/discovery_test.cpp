// Discovery over sample registries: which products are recorded, in which
// slot and in which order.
#include <gtest/gtest.h>

#include "discovery_support.h"

namespace vk::test {
namespace {

using Products = std::vector<FoundProduct>;
constexpr RegRoot kHklm = RegRoot::LocalMachine;

TEST(CatalogConstruction, StartsEmptyAndSearchesForTheLocation) {
    DiscoveryMachine machine;
    const CAcadReleaseCatalog catalog = machine.NewCatalog();
    EXPECT_EQ(catalog.m_strSearchValue, "AcadLocation");
    EXPECT_EQ(catalog.m_strInstallDir, "");
    EXPECT_TRUE(catalog.m_arrFoundKeys.empty() && catalog.m_arrFoundValues.empty());
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        EXPECT_TRUE(catalog.m_arrAcadLocations[slot].empty() &&
                    catalog.m_arrProductKeys[slot].empty());
    }
}

TEST(DiscoveryViews, NothingWithoutAnAutocadKeyInEitherView) {
    DiscoveryMachine machine;
    machine.AddProduct("SOFTWARE\\Autodesk\\AutoCAD LT\\R28\\ACADLT-5101:409",
                       "AutoCAD LT 2022 - English", "C:\\LT");
    machine.registry.AddKey(kHklm, "SOFTWARE\\Wow6432Node\\Autodesk");
    EXPECT_EQ(machine.Discover(), Products{});
}

TEST(DiscoveryViews, ThirtyTwoBitProductsComeFirst) {
    DiscoveryMachine machine;
    machine.AddProduct(kNativeRoot + "R17.1\\ACAD-6001:804", "AutoCAD 2008", "C:\\x64");
    machine.AddProduct(kNativeRoot + "R19.1\\ACAD-D001:804", "AutoCAD 2014", "C:\\2014");
    machine.AddProduct(kWowRoot + "R17.1\\ACAD-6001:804", "AutoCAD 2008", "C:\\x86");
    EXPECT_EQ(machine.Discover(),
              (Products{{2008, kWowRoot + "R17.1\\ACAD-6001:804\\", "C:\\x86"},
                        {2008, kNativeRoot + "R17.1\\ACAD-6001:804\\", "C:\\x64"},
                        {2014, kNativeRoot + "R19.1\\ACAD-D001:804\\", "C:\\2014"}}));
}

TEST(DiscoveryViews, ThirtyTwoBitViewOnlyFor2007To2009) {
    DiscoveryMachine machine;
    machine.AddProduct(kWowRoot + "R17.0\\ACAD-5001:804", "AutoCAD 2007", "C:\\2007");
    machine.AddProduct(kWowRoot + "R17.2\\ACAD-7001:804", "AutoCAD 2009", "C:\\2009");
    machine.AddProduct(kWowRoot + "R18.2\\ACAD-A001:804", "AutoCAD 2012", "C:\\2012x86");
    machine.AddProduct(kNativeRoot + "R18.2\\ACAD-A001:804", "AutoCAD 2012", "C:\\2012");
    EXPECT_EQ(machine.Discover(),
              (Products{{2007, kWowRoot + "R17.0\\ACAD-5001:804\\", "C:\\2007"},
                        {2009, kWowRoot + "R17.2\\ACAD-7001:804\\", "C:\\2009"},
                        {2012, kNativeRoot + "R18.2\\ACAD-A001:804\\", "C:\\2012"}}));
}

TEST(DiscoverySlots, DecidedByTheProductNameAlone) {
    DiscoveryMachine machine;
    // A release key named after one year, holding a product of another.
    machine.AddProduct(kNativeRoot + "AutoCAD 2018\\2018", "AutoCAD 2014", "C:\\A");
    machine.AddProduct(kNativeRoot + "R22.0\\ACAD-1001:804", "2018 AutoCAD 2018", "C:\\B");
    machine.AddProduct(kNativeRoot + "R23.0\\ACAD-2001:804", "AutoCAD 2019 (2017)", "C:\\C");
    EXPECT_EQ(machine.Discover(),
              (Products{{2014, kNativeRoot + "AutoCAD 2018\\2018\\", "C:\\A"},
                        {2017, kNativeRoot + "R23.0\\ACAD-2001:804\\", "C:\\C"}}));
}

TEST(DiscoverySlots, SeveralProductsOfOneYearInEnumerationOrder) {
    DiscoveryMachine machine;
    // Depth-first, subkeys sorted without regard to case: "a\\deep" before "B".
    machine.AddProduct(kNativeRoot + "R22.0\\B", "AutoCAD 2018 B", "C:\\B");
    machine.AddProduct(kNativeRoot + "R22.0\\a\\deep", "AutoCAD 2018 a", "C:\\a");
    machine.AddProduct(kNativeRoot + "R21.0\\ACAD-0001:409", "AutoCAD 2017", "C:\\2017");
    machine.AddProduct(kNativeRoot + "R21.0\\ACAD-0002:409", "AutoCAD 2018 early", "C:\\E");
    EXPECT_EQ(machine.Discover(),
              (Products{{2017, kNativeRoot + "R21.0\\ACAD-0001:409\\", "C:\\2017"},
                        {2018, kNativeRoot + "R21.0\\ACAD-0002:409\\", "C:\\E"},
                        {2018, kNativeRoot + "R22.0\\a\\deep\\", "C:\\a"},
                        {2018, kNativeRoot + "R22.0\\B\\", "C:\\B"}}));
}

TEST(DiscoverySearch, ValuesOnTheReleaseKeyHideItsSubkeys) {
    DiscoveryMachine machine;
    machine.AddProduct(kNativeRoot + "R22.0", "AutoCAD 2018", "C:\\2018");
    machine.AddProduct(kNativeRoot + "R22.0\\ACAD-1001:804", "AutoCAD 2018", "C:\\below");
    // Only the location on the release key: the name search goes down and finds
    // another key, so the two searches never pair.
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R23.0", "AcadLocation", "C:\\2019");
    machine.AddProduct(kNativeRoot + "R23.0\\ACAD-2001:804", "AutoCAD 2019", "C:\\2019");
    EXPECT_EQ(machine.Discover(), (Products{{2018, kNativeRoot + "R22.0\\", "C:\\2018"}}));
}

TEST(DiscoverySearch, ProductNeedsBothValues) {
    DiscoveryMachine machine;
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R22.0\\OnlyLocation", "AcadLocation",
                                    "C:\\L");
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R22.0\\OnlyName", "ProductName",
                                    "AutoCAD 2018");
    machine.AddProduct(kNativeRoot + "R22.0\\Both", "AutoCAD 2018", "C:\\Both");
    EXPECT_EQ(machine.Discover(), (Products{{2018, kNativeRoot + "R22.0\\Both\\", "C:\\Both"}}));
}

TEST(DiscoverySearch, ValueReadWithA256ByteBuffer) {
    DiscoveryMachine machine;
    const std::string product = kNativeRoot + "R22.0\\P";
    // 256 bytes without a NUL: no room for the NUL, so absent like a longer value.
    const std::string full(256, 'F');
    machine.registry.SetStringValue(kHklm, product, "ProductName", "AutoCAD 2018");
    machine.registry.SetRawValue(kHklm, product, "AcadLocation",
                                 {kRegSz, std::vector<std::uint8_t>(full.begin(), full.end())});
    // 255 characters and a NUL (256 bytes): present. One more: absent, search goes down.
    const std::string fits(255, 'a');
    machine.AddProduct(kNativeRoot + "R23.0\\P", "AutoCAD 2019", fits);
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R24.0\\P", "AcadLocation", fits + "b");
    machine.AddProduct(kNativeRoot + "R24.0\\P\\Below", "AutoCAD 2020", "C:\\below");
    // The type is not examined; text ends at the first NUL.
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R25.0\\P", "ProductName", "AutoCAD 2021");
    machine.registry.SetRawValue(kHklm, kNativeRoot + "R25.0\\P", "AcadLocation",
                                 {3, {'C', ':', 0, 'x'}});
    EXPECT_EQ(machine.Discover(), (Products{{2019, kNativeRoot + "R23.0\\P\\", fits},
                                            {2020, kNativeRoot + "R24.0\\P\\Below\\", "C:\\below"},
                                            {2021, kNativeRoot + "R25.0\\P\\", "C:"}}));
}

}  // namespace
}  // namespace vk::test
