// Which slot a product name gives: the first occurrence of a year, past the
// name's beginning, on a character boundary of code page 936.
#include <gtest/gtest.h>

#include "acad/release_years.h"
#include "platform/memory/cp936_codepage.h"

namespace {

const vk::memory::Cp936CodePage kCp;

int YearOf(const std::string& name, int lastYear = kLastReleaseYear) {
    const int slot = ReleaseSlotOfProductName(kCp, name, lastYear);
    return slot == kNoReleaseSlot ? 0 : kFirstReleaseYear + slot;
}

TEST(ReleaseClassification, YearInsideTheName) {
    EXPECT_EQ(YearOf("AutoCAD 2007"), 2007);
    EXPECT_EQ(YearOf("AutoCAD 2027"), 2027);
    EXPECT_EQ(YearOf("AutoCAD 2018 - 简体中文 (Simplified Chinese)"), 2018);
    EXPECT_EQ(YearOf("AutoCAD 2006"), 0);
    EXPECT_EQ(YearOf("AutoCAD 2028"), 0);
    EXPECT_EQ(YearOf("AutoCAD"), 0);
    EXPECT_EQ(YearOf(""), 0);
}

TEST(ReleaseClassification, OnlyTheFirstOccurrenceCounts) {
    EXPECT_EQ(YearOf("2018"), 0);
    EXPECT_EQ(YearOf("2018 AutoCAD 2018"), 0);
    EXPECT_EQ(YearOf("2018 AutoCAD 2019"), 2019);
}

TEST(ReleaseClassification, EarlierYearWinsWhateverTheOrder) {
    EXPECT_EQ(YearOf("AutoCAD 2020 (2014)"), 2014);
    EXPECT_EQ(YearOf("AutoCAD 2014 (2020)"), 2014);
}

TEST(ReleaseClassification, YearsBeyondTheLastAreNotTested) {
    EXPECT_EQ(YearOf("AutoCAD 2009", 2009), 2009);
    EXPECT_EQ(YearOf("AutoCAD 2010", 2009), 0);
    EXPECT_EQ(YearOf("AutoCAD 2012 (2008)", 2009), 2008);
}

TEST(ReleaseClassification, DigitsAfterALeadByteAreNotACharacterStart) {
    // 0x81 takes the '2' after it as its trail byte: "2014" is not in the
    // text as characters, while a byte search would find it first.
    EXPECT_EQ(YearOf("AutoCAD \x81"
                     "2014 2018"),
              2018);
    EXPECT_EQ(YearOf("AutoCAD \x81"
                     "2014"),
              0);
}

}  // namespace
