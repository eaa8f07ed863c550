// Check sums and UTF-8: published test vectors, and the text forms the
// installation record relies on.
#include <gtest/gtest.h>

#include "core/digest.h"
#include "core/utf.h"

namespace vk {
namespace {

TEST(Digest, Sha256AndCrc32MatchPublishedVectors) {
    const struct {
        std::string data;
        const char* sha256;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: two tail blocks
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 20));
        EXPECT_EQ(Sha256Hex(c.data), c.sha256);
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
