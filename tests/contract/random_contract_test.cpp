// Random bytes as the record's identifier needs them: every call new ones.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "contract/contract_subject.h"

namespace vk::contract {
namespace {

TEST(RandomContract, GivesNewBytesEachTime) {
    std::array<std::uint8_t, 16> first{};
    std::array<std::uint8_t, 16> second{};
    ASSERT_EQ(RandomUnderTest().Fill(first.data(), first.size()), kOk);
    ASSERT_EQ(RandomUnderTest().Fill(second.data(), second.size()), kOk);
    EXPECT_NE(first, second);
    EXPECT_NE(first, (std::array<std::uint8_t, 16>{}));
}

}  // namespace
}  // namespace vk::contract
