// Which releases are offered: found on the machine, served by the build, and,
// for the 2025 family, with its module in the package's Data folder.
#include "app/release_offer.h"

#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

class ReleaseOfferRule : public InstallFixture {
protected:
    void Found(int year) {
        AddProduct(year, "SOFTWARE\\Autodesk\\AutoCAD\\R" + std::to_string(year) + "\\P\\",
                   "C:\\AutoCAD " + std::to_string(year));
    }
    ReleaseOffer OfferOf(int year, int bits = 64) {
        return OfferOfRelease(services, catalog, year - kFirstReleaseYear, bits);
    }
};

struct OfferCase {
    const char* what;
    int year;
    const char* inData;  // a file of that name in Data; nullptr for none
    int bits;
    ReleaseOffer expected;
};

constexpr OfferCase kOfferCases[] = {
    {"an older family needs nothing in Data", 2024, nullptr, 64, ReleaseOffer::Offered},
    {"2025 without its module", 2025, nullptr, 64, ReleaseOffer::NoModule},
    {"2025 with its module", 2025, "VK_BatchPlot2025.ARX", 64, ReleaseOffer::Offered},
    {"2027 shares the 2025 module", 2027, "vk_batchplot2025.arx", 64, ReleaseOffer::Offered},
    {"another family's module is not its own", 2026, "VK_BatchPlot2021.ARX", 64,
     ReleaseOffer::NoModule},
    {"a 32-bit build serves 2016", 2016, nullptr, 32, ReleaseOffer::Offered},
    {"a 32-bit build does not serve 2017", 2017, nullptr, 32, ReleaseOffer::NotInThisBuild},
    {"a 32-bit build does not serve 2025 whatever Data holds", 2025, "VK_BatchPlot2025.ARX", 32,
     ReleaseOffer::NotInThisBuild},
};

TEST(ReleaseOfferCases, OfFoundReleases) {
    for (const OfferCase& c : kOfferCases) {
        SCOPED_TRACE(c.what);
        InstallMachine machine;
        machine.AddProduct(c.year, "SOFTWARE\\Autodesk\\AutoCAD\\R\\P\\", "C:\\AutoCAD");
        if (c.inData != nullptr)
            machine.AddDataFile(c.inData);
        EXPECT_EQ(
            OfferOfRelease(machine.services, machine.catalog, c.year - kFirstReleaseYear, c.bits),
            c.expected);
        machine.ExpectNothingLeftOpen();
    }
}

TEST_F(ReleaseOfferRule, NothingOfAReleaseNotFound) {
    AddDataFile("VK_BatchPlot2025.ARX");
    EXPECT_EQ(OfferOf(2025), ReleaseOffer::NotFound);
    EXPECT_EQ(OfferOf(2018), ReleaseOffer::NotFound);
}

TEST_F(ReleaseOfferRule, AFolderNamedAfterTheModuleIsNoModule) {
    Found(2025);
    files.AddFolder(kDataFolder + "\\VK_BatchPlot2025.ARX");
    EXPECT_EQ(OfferOf(2025), ReleaseOffer::NoModule);
}

TEST_F(ReleaseOfferRule, ListsTheFoundYearsWithoutTheirModuleInYearOrder) {
    Found(2018);
    Found(2027);
    Found(2026);
    EXPECT_EQ(ReleasesFoundWithoutModule(services, catalog, 64), (std::vector<int>{2026, 2027}));
    // What a 32-bit build never serves, it does not name either.
    EXPECT_EQ(ReleasesFoundWithoutModule(services, catalog, 32), std::vector<int>{});
    AddDataFile("VK_BatchPlot2025.ARX");
    EXPECT_EQ(ReleasesFoundWithoutModule(services, catalog, 64), std::vector<int>{});
}

}  // namespace
}  // namespace vk::test
