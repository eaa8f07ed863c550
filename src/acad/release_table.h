#pragma once
// The AutoCAD releases the setup knows, one row per release year in year order;
// a release's slot (in the catalogue, the stored selection and page 2) is its
// row's index. Everything that depends on the year reads this table, so the
// next module family is one more row (and one more box on page 2).
#include <iterator>

struct ReleaseRow {
    int year;
    // The add-in module that serves the year: "VK_BatchPlot<moduleNumber>.ARX".
    int moduleNumber;
    // Offered only when the package's Data folder holds that module: a family
    // newer than some packages, which then cannot serve it.
    bool needsModuleInData;
};

// One row per line, as a table reads.
// clang-format off
inline constexpr ReleaseRow kReleaseTable[] = {
    // year  module  needsModuleInData
    {2007,  2008,   false},
    {2008,  2008,   false},
    {2009,  2008,   false},
    {2010,  2010,   false},
    {2011,  2010,   false},
    {2012,  2010,   false},
    {2013,  2013,   false},
    {2014,  2013,   false},
    {2015,  2015,   false},
    {2016,  2015,   false},
    {2017,  2017,   false},
    {2018,  2018,   false},
    {2019,  2019,   false},
    {2020,  2019,   false},
    {2021,  2021,   false},
    {2022,  2021,   false},
    {2023,  2021,   false},
    {2024,  2021,   false},
    {2025,  2025,   true},
    {2026,  2025,   true},
    {2027,  2025,   true},
};
// clang-format on

inline constexpr int kReleaseSlots = static_cast<int>(std::size(kReleaseTable));
inline constexpr int kFirstReleaseYear = kReleaseTable[0].year;
inline constexpr int kLastReleaseYear = kReleaseTable[kReleaseSlots - 1].year;

// slot = year - kFirstReleaseYear holds only while the years run without a gap.
constexpr bool ReleaseYearsAreConsecutive() {
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (kReleaseTable[slot].year != kFirstReleaseYear + slot)
            return false;
    }
    return true;
}
static_assert(ReleaseYearsAreConsecutive(), "one row per year, in year order");

// The row of `year`, or nullptr for a year the table does not hold.
constexpr const ReleaseRow* ReleaseRowOfYear(int year) {
    if (year < kFirstReleaseYear || year > kLastReleaseYear)
        return nullptr;
    return &kReleaseTable[year - kFirstReleaseYear];
}
