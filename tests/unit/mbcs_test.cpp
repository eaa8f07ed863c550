#include "core/mbcs.h"

#include <gtest/gtest.h>

#include "platform/memory/cp936_codepage.h"

namespace vk {
namespace {

const memory::Cp936CodePage kCp;

// "乗" is 0x81 0x5C in GBK: its trail byte is a backslash.
const std::string kTrailBackslash = "\x81\x5C";

TEST(Mbcs, LastBackslashSkipsTrailBytes) {
    EXPECT_EQ(FindLastChar(kCp, "C:\\a\\b", '\\'), 4u);
    EXPECT_EQ(FindLastChar(kCp, "C:\\a" + kTrailBackslash, '\\'), 2u);
    EXPECT_EQ(FindLastChar(kCp, "abc", '\\'), kNoPos);
}

TEST(Mbcs, TrailingBackslashOnlyWhenItIsACharacter) {
    EXPECT_TRUE(EndsWithChar(kCp, "D:\\", '\\'));
    EXPECT_FALSE(EndsWithChar(kCp, "D:\\x" + kTrailBackslash, '\\'));
    EXPECT_EQ(WithoutTrailingBackslash(kCp, "D:\\Tools\\"), "D:\\Tools");
    EXPECT_EQ(WithoutTrailingBackslash(kCp, "D:\\" + kTrailBackslash),
              "D:\\" + kTrailBackslash);
}

TEST(Mbcs, FindTextStartsOnCharacterBoundaries) {
    // "\x81\x41" is one character whose trail byte is 'A'; "A" alone must not match inside it.
    EXPECT_EQ(FindText(kCp, "\x81\x41", "A"), kNoPos);
    EXPECT_EQ(FindText(kCp, "\x81\x41" "A", "A"), 2u);
    EXPECT_EQ(FindText(kCp, "abc", ""), 0u);
}

TEST(Mbcs, SplitKeepsEmptyPiecesAndDoubleByteSeparators) {
    EXPECT_EQ(SplitText(kCp, ";a;;b;", ';'), (std::vector<std::string>{"", "a", "", "b", ""}));
    // 0x81 0x3B: a double-byte character whose trail byte is ';'.
    EXPECT_EQ(SplitText(kCp, "x\x81;y", ';'), (std::vector<std::string>{"x\x81;y"}));
}

TEST(Cp936, CaseChangesLeaveTrailBytesAlone) {
    EXPECT_EQ(kCp.ToUpper("c:\\abc"), "C:\\ABC");
    EXPECT_EQ(kCp.ToUpper("\x81\x61"), "\x81\x61");      // trail byte 'a' stays
    EXPECT_EQ(kCp.ToUpper("\xA3\xE1"), "\xA3\xC1");      // full-width a -> A
    EXPECT_EQ(kCp.ToLower("ACAD.EXE\xA3\xC1"), "acad.exe\xA3\xE1");
}

}  // namespace
}  // namespace vk
