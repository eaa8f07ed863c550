#include "core/picture_scale.h"

#include <gtest/gtest.h>

namespace {

using vk::Picture;
using vk::ScalePicture;

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

TEST(ScalePicture, KeepsOrDoublesPixelsExactly) {
    const Picture twoByOne{2, 1, {kBlack, kWhite}};
    EXPECT_EQ(ScalePicture(twoByOne, 2, 1), twoByOne);
    EXPECT_EQ(ScalePicture(twoByOne, 4, 2),
              (Picture{4, 2, {kBlack, kBlack, kWhite, kWhite, kBlack, kBlack, kWhite, kWhite}}));
}

// 96 to 144 DPI: the middle pixel covers half of each, every channel averaged.
TEST(ScalePicture, OneAndAHalfTimesSoftensOnePixelPerEdge) {
    const Picture row{2, 1, {0x00000000, 0xFF80FF40}};
    EXPECT_EQ(ScalePicture(row, 3, 1), (Picture{3, 1, {0x00000000, 0x80408020, 0xFF80FF40}}));
    const Picture column{1, 2, {kBlack, kWhite}};
    EXPECT_EQ(ScalePicture(column, 1, 3).pixels[1], 0xFF808080);
}

TEST(ScalePicture, ReducesByAveragingAndRefusesEmptySizes) {
    EXPECT_EQ(ScalePicture(Picture{2, 2, {kBlack, kWhite, kWhite, kWhite}}, 1, 1).pixels,
              std::vector<std::uint32_t>{0xFFC0C0C0});
    EXPECT_EQ(ScalePicture(Picture{1, 1, {kWhite}}, 0, 1), Picture{});
    EXPECT_EQ(ScalePicture(Picture{}, 2, 2), Picture{});
}

}  // namespace
