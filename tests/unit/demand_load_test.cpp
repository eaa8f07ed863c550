// Demand-load registration below the product keys of the selected years.
#include "engine/demand_load.h"

#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string k2007 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\";
const std::string k2008 = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
const std::string k2011a = "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\ACAD-9001:804\\";
const std::string k2011b = "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\ACAD-9001:409\\";

class DemandLoad : public InstallFixture {
protected:
    DemandLoad() {
        AddProduct(2007, k2007, "C:\\AutoCAD 2007");
        AddProduct(2008, k2008, "C:\\AutoCAD 2008");
        AddProduct(2011, k2011a, "C:\\AutoCAD 2011");
        AddProduct(2011, k2011b, "C:\\AutoCAD 2011 English");
    }
    void Run(std::initializer_list<int> years) {
        int selected[kReleaseSlots] = {};
        for (int year : years)
            selected[year - kFirstReleaseYear] = 1;
        catalog.RegisterSelectedReleases(selected);
        ExpectNothingLeftOpen();
    }
    std::string AppKey(const std::string& product, int year) const {
        return product + "Applications\\VK_BatchPlot" + std::to_string(year);
    }
    std::optional<std::string> Loader(const std::string& product, int year) const {
        return registry.GetString(kHklm, AppKey(product, year), "LOADER");
    }
};

TEST_F(DemandLoad, NoYearSelectedTouchesNoProductButTrustsTheFolder) {
    registry.SetStringValue(kHkcu, kUserAutocad + "R18.1\\ACAD-9001:804\\Profiles\\P\\Variables",
                            "TRUSTEDPATHS", "");
    Run({});
    for (const std::string& product : {k2007, k2008, k2011a, k2011b}) {
        EXPECT_TRUE(registry.SubkeyNames(kHklm, product).empty()) << product;
    }
    EXPECT_EQ(Calls("RegDeleteKey"), 0u);
    EXPECT_EQ(
        registry.GetString(kHkcu, kUserAutocad + "R18.1\\ACAD-9001:804\\Profiles\\P\\Variables",
                           "TRUSTEDPATHS"),
        kInstallDir);
}

TEST_F(DemandLoad, KeyCarriesTheYearAndLoaderTheSharedModule) {
    Run({2007, 2008});
    // The 32-bit product's key lands below Wow6432Node, where its path points.
    EXPECT_EQ(Loader(k2007, 2007), kInstallDir + "\\VK_BatchPlot2008.ARX");
    EXPECT_EQ(Loader(k2008, 2008), kInstallDir + "\\VK_BatchPlot2008.ARX");
    EXPECT_FALSE(registry.KeyExists(kHklm, AppKey(k2011a, 2011)));

    const std::optional<memory::RegValue> loadCtrls =
        registry.GetValue(kHklm, AppKey(k2008, 2008), "LOADCTRLS");
    ASSERT_TRUE(loadCtrls.has_value());
    EXPECT_EQ(loadCtrls->type, kRegDword);
    EXPECT_EQ(loadCtrls->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(registry.ValueNames(kHklm, AppKey(k2008, 2008)),
              (std::vector<std::string>{"LOADCTRLS", "LOADER"}));
    // LOADER is passed as its text alone, without the NUL.
    EXPECT_EQ(registry.stringsWritten.front(), kInstallDir + "\\VK_BatchPlot2008.ARX");
}

TEST_F(DemandLoad, ModuleNumbersAtTheEdgesOfTheTable) {
    EXPECT_EQ(LoaderPath("D:\\V", 2009), "D:\\V\\VK_BatchPlot2008.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2010), "D:\\V\\VK_BatchPlot2010.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2016), "D:\\V\\VK_BatchPlot2015.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2017), "D:\\V\\VK_BatchPlot2017.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2020), "D:\\V\\VK_BatchPlot2019.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2024), "D:\\V\\VK_BatchPlot2021.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2025), "D:\\V\\VK_BatchPlot2025.ARX");
    EXPECT_EQ(LoaderPath("D:\\V", 2027), "D:\\V\\VK_BatchPlot2025.ARX");
    EXPECT_EQ(ModuleNumberForYear(2006), 0);
    EXPECT_EQ(ModuleNumberForYear(2028), 0);
}

TEST_F(DemandLoad, EveryProductOfAYearGetsItsOwnKey) {
    Run({2011});
    EXPECT_EQ(Loader(k2011a, 2011), kInstallDir + "\\VK_BatchPlot2010.ARX");
    EXPECT_EQ(Loader(k2011b, 2011), kInstallDir + "\\VK_BatchPlot2010.ARX");
}

TEST_F(DemandLoad, ReinstallingReplacesTheEarlierKey) {
    Run({2011});
    registry.SetStringValue(kHklm, AppKey(k2011a, 2011), "LeftOver", "x");
    catalog.m_strInstallDir = "D:\\Tools\\Varnok批打印软件";
    Run({2011});
    EXPECT_EQ(Loader(k2011a, 2011), "D:\\Tools\\Varnok批打印软件\\VK_BatchPlot2010.ARX");
    EXPECT_EQ(registry.ValueNames(kHklm, AppKey(k2011a, 2011)),
              (std::vector<std::string>{"LOADCTRLS", "LOADER"}));
}

TEST_F(DemandLoad, AKeyWithSubkeysIsOverwrittenInPlace) {
    registry.SetStringValue(kHklm, AppKey(k2008, 2008), "LOADER", "C:\\old\\x.arx");
    registry.SetStringValue(kHklm, AppKey(k2008, 2008), "DESCRIPTION", "kept");
    registry.AddKey(kHklm, AppKey(k2008, 2008) + "\\Commands");
    Run({2008});
    EXPECT_EQ(Loader(k2008, 2008), kInstallDir + "\\VK_BatchPlot2008.ARX");
    EXPECT_EQ(registry.GetString(kHklm, AppKey(k2008, 2008), "DESCRIPTION"), "kept");
    EXPECT_TRUE(registry.KeyExists(kHklm, AppKey(k2008, 2008) + "\\Commands"));
}

TEST_F(DemandLoad, UnopenableProductsAreSkipped) {
    registry.DenyAccess(kHklm, k2011a);
    catalog.m_arrProductKeys[2011 - kFirstReleaseYear].push_back(
        "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\Gone\\");
    Run({2011});
    catalog.RegisterDemandLoad(2006);
    catalog.RegisterDemandLoad(2025);
    EXPECT_FALSE(registry.KeyExists(kHklm, AppKey(k2011a, 2011)));
    EXPECT_FALSE(registry.KeyExists(kHklm, "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\Gone"));
    EXPECT_EQ(Loader(k2011b, 2011), kInstallDir + "\\VK_BatchPlot2010.ARX");
    EXPECT_EQ(Calls("RegCreateKey"), 1u);
}

TEST_F(DemandLoad, AFolderTooLongForLoaderChangesNothing) {
    registry.SetStringValue(kHklm, AppKey(k2008, 2008), "LOADER", "C:\\old\\x.arx");
    const std::string fits = "C:\\" + std::string(235, 'f');  // 238 bytes

    catalog.m_strInstallDir = fits + "g";
    catalog.RegisterDemandLoad(2008);
    EXPECT_EQ(Loader(k2008, 2008), "C:\\old\\x.arx");
    EXPECT_EQ(Calls("RegDeleteKey"), 0u);

    catalog.m_strInstallDir = fits;
    catalog.RegisterDemandLoad(2008);
    EXPECT_EQ(Loader(k2008, 2008)->size(), 259u);
}

}  // namespace
}  // namespace vk::test
