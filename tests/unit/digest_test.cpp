// Check sums and UTF-8: published test vectors, and the text forms the
// installation record relies on.
#include <gtest/gtest.h>

#include "core/digest.h"
#include "core/utf.h"

namespace vk {
namespace {

TEST(Digest, Xxh64AndCrc32MatchPublishedVectors) {
    const struct {
        std::string data;
        std::uint64_t xxh64;
    } cases[] = {
        {"", 0xEF46DB3751D8E999ull},
        {"a", 0xD24EC4F1A98C6E5Bull},
        {"abc", 0x44BC2CF5AD770999ull},
        {"Nobody inspects the spammish repetition", 0xFBCEA83C8A378BF1ull},  // 39 bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(Xxh64(c.data), c.xxh64);
    }
    EXPECT_EQ(FileHashHex("abc"), "44bc2cf5ad770999");
    // Fed in pieces, split anywhere across and inside the 32-byte stripes.
    std::string long_text;
    for (int i = 0; i < 100; ++i)
        long_text += static_cast<char>(i * 37);
    for (const std::size_t first : {0u, 1u, 31u, 32u, 33u, 64u, 99u}) {
        for (const std::size_t second : {0u, 5u, 40u}) {
            Xxh64Stream stream;
            const std::string_view text(long_text);
            stream.Update(text.substr(0, first));
            stream.Update(text.substr(first, second));
            stream.Update(text.substr(std::min(first + second, text.size())));
            EXPECT_EQ(stream.Digest(), Xxh64(long_text)) << first << "+" << second;
        }
    }
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(Digest, HexRoundTripsAndRefusesWhatIsNotHex) {
    std::string bytes;
    ASSERT_TRUE(FromHex(ToHex(std::string("\0\x7f\xff", 3)), bytes));
    EXPECT_EQ(bytes, std::string("\0\x7f\xff", 3));
    EXPECT_EQ(ToHex("\x01\xab"), "01ab");
    EXPECT_TRUE(FromHex("01AB", bytes));
    for (const char* bad : {"0", "0g", "zz", "abc"})
        EXPECT_FALSE(FromHex(bad, bytes)) << bad;
}

TEST(Utf, RoundTripsEveryPlaneAndRefusesMalformedUtf8) {
    const std::u16string text = u"C:\\Varnok批打印软件\\한국어\\é\U0001F600";
    std::u16string back;
    ASSERT_TRUE(Utf8ToUtf16(Utf16ToUtf8(text), back));
    EXPECT_EQ(back, text);
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // a lone surrogate
    for (const char* bad : {"\xC0\xAF", "\xE0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(Utf8ToUtf16(bad, back)) << bad;
}

}  // namespace
}  // namespace vk
