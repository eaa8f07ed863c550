// Which releases are offered: found on the machine, served by the build, and,
// for the 2025 family, with its module in the package's Data folder.
#include "engine/release_offer.h"

#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

void Found(InstallMachine& machine, int year) {
    machine.AddProduct(year, "SOFTWARE\\Autodesk\\AutoCAD\\R" + std::to_string(year) + "\\P\\",
                       "C:\\AutoCAD " + std::to_string(year));
}

struct OfferCase {
    const char* what;
    int year;
    bool found;
    const char* inData;  // a file of that name in Data; nullptr for none
    int bits;
    ReleaseOffer expected;
};

constexpr OfferCase kOfferCases[] = {
    {"not found", 2025, false, "VK_BatchPlot2025.ARX", 64, ReleaseOffer::NotFound},
    {"an older family needs nothing in Data", 2024, true, nullptr, 64, ReleaseOffer::Offered},
    {"2025 without its module", 2025, true, nullptr, 64, ReleaseOffer::NoModule},
    {"2025 with its module", 2025, true, "VK_BatchPlot2025.ARX", 64, ReleaseOffer::Offered},
    {"2027 shares the 2025 module", 2027, true, "vk_batchplot2025.arx", 64, ReleaseOffer::Offered},
    {"another family's module is not its own", 2026, true, "VK_BatchPlot2021.ARX", 64,
     ReleaseOffer::NoModule},
    {"a 32-bit build serves 2016", 2016, true, nullptr, 32, ReleaseOffer::Offered},
    {"a 32-bit build does not serve 2017", 2017, true, nullptr, 32, ReleaseOffer::NotInThisBuild},
    {"a 32-bit build does not serve 2025 whatever Data holds", 2025, true, "VK_BatchPlot2025.ARX",
     32, ReleaseOffer::NotInThisBuild},
};

TEST(ReleaseOffer, OfEachRelease) {
    for (const OfferCase& c : kOfferCases) {
        SCOPED_TRACE(c.what);
        InstallMachine machine;
        if (c.found)
            Found(machine, c.year);
        if (c.inData != nullptr)
            machine.AddDataFile(c.inData);
        EXPECT_EQ(
            OfferOfRelease(machine.services, machine.catalog, c.year - kFirstReleaseYear, c.bits),
            c.expected);
        machine.ExpectNothingLeftOpen();
    }
}

TEST(ReleaseOffer, ListsTheFoundYearsWithoutTheirModuleInYearOrder) {
    InstallMachine machine;
    for (int year : {2018, 2027, 2026})
        Found(machine, year);
    EXPECT_EQ(ReleasesFoundWithoutModule(machine.services, machine.catalog, 64),
              (std::vector<int>{2026, 2027}));
    // What a 32-bit build never serves, it does not name either.
    EXPECT_EQ(ReleasesFoundWithoutModule(machine.services, machine.catalog, 32),
              std::vector<int>{});
    machine.AddDataFile("VK_BatchPlot2025.ARX");
    EXPECT_EQ(ReleasesFoundWithoutModule(machine.services, machine.catalog, 64),
              std::vector<int>{});
}

}  // namespace
}  // namespace vk::test
