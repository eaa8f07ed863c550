// Code page 936 as the setup relies on it, asserted alike against Windows
// (under Wine, whose ANSI code page is 936 under zh_CN) and the memory model.
#include <gtest/gtest.h>

#include <string>

#include "contract/contract_subject.h"

namespace vk::contract {
namespace {

TEST(CodePageContract, LeadBytesAre0x81To0xFE) {
    const ICodePage& cp = CodePageUnderTest();
    for (unsigned byte : {0x81u, 0xA3u, 0xB0u, 0xD6u, 0xFEu}) {
        EXPECT_TRUE(cp.IsLeadByte(static_cast<unsigned char>(byte))) << std::hex << byte;
    }
    for (unsigned byte : {0x00u, 0x41u, 0x5Cu, 0x7Fu, 0x80u, 0xFFu}) {
        EXPECT_FALSE(cp.IsLeadByte(static_cast<unsigned char>(byte))) << std::hex << byte;
    }
}

TEST(CodePageContract, ChangesTheCaseOfAsciiLettersOnly) {
    const ICodePage& cp = CodePageUnderTest();
    EXPECT_EQ(cp.ToUpper("c:\\Program Files\\acad.exe;[x]_@`{z}"),
              "C:\\PROGRAM FILES\\ACAD.EXE;[X]_@`{Z}");
    EXPECT_EQ(cp.ToLower("C:\\PROGRAM FILES\\ACAD.EXE;[X]_@`{Z}"),
              "c:\\program files\\acad.exe;[x]_@`{z}");
    EXPECT_EQ(cp.ToUpper(""), "");
}

// GBK trail bytes run from 0x40, so ASCII letters occur inside Chinese text.
TEST(CodePageContract, LeavesDoubleByteCharactersWithLetterTrailBytesWhole) {
    const ICodePage& cp = CodePageUnderTest();
    const std::string trailLower = "\x81\x61\xB0\x7A";  // trail bytes 'a' and 'z'
    const std::string trailUpper = "\x81\x41\xB0\x5A";  // trail bytes 'A' and 'Z'
    EXPECT_EQ(cp.ToUpper(trailLower), trailLower);
    EXPECT_EQ(cp.ToLower(trailUpper), trailUpper);
    EXPECT_EQ(cp.ToUpper("安装a" + trailLower + "b"), "安装A" + trailLower + "B");
    EXPECT_EQ(cp.ToUpper("批打印软件"), "批打印软件");
}

TEST(CodePageContract, ChangesTheCaseOfFullWidthAndGreekLetters) {
    const ICodePage& cp = CodePageUnderTest();
    EXPECT_EQ(cp.ToUpper("ａｚ"), "ＡＺ");
    EXPECT_EQ(cp.ToLower("ＡＺ"), "ａｚ");
    EXPECT_EQ(cp.ToUpper("αω"), "ΑΩ");
    EXPECT_EQ(cp.ToLower("ΑΩ"), "αω");
}

// Small Roman numerals (GBK A2A1..A2AA) have capitals in the same row.
TEST(CodePageContract, ChangesTheCaseOfRomanNumerals) {
    const ICodePage& cp = CodePageUnderTest();
    EXPECT_EQ(cp.ToUpper("ⅰⅹ"), "ⅠⅩ");
    EXPECT_EQ(cp.ToLower("ⅠⅩ"), "ⅰⅹ");
}

}  // namespace
}  // namespace vk::contract

namespace vk::contract {
namespace {

// Outside the code page (so kept out of the test macros, whose text is made
// ANSI): Korean, and the capitals of pinyin letters.
const std::u16string kKorean = u"한국어";
const std::u16string kCapitalE = u"É", kCapitalU = u"Ü", kCapitalA = u"Ǎ";

TEST(CodePageContract, AnsiTextBecomesTheSameCharactersInUtf16) {
    const ICodePage& cp = CodePageUnderTest();
    EXPECT_EQ(cp.ToWide("C:\\Varnok\\Varnok批打印软件"), u"C:\\Varnok\\Varnok批打印软件");
    EXPECT_EQ(cp.ToWide("é;ü;Ω;я;ⅰ;ｚ"), u"é;ü;Ω;я;ⅰ;ｚ");  // pinyin, Greek, Cyrillic, ...
    EXPECT_EQ(cp.ToWide(""), u"");
}

// Back into the code page; what it lacks becomes its default character.
TEST(CodePageContract, Utf16BecomesAnsiTextWithQuestionMarksForTheRest) {
    const ICodePage& cp = CodePageUnderTest();
    EXPECT_EQ(cp.ToAnsi(u"C:\\Varnok\\Varnok批打印软件;é"), "C:\\Varnok\\Varnok批打印软件;é");
    EXPECT_EQ(cp.ToAnsi(kKorean), "???");
}

// CharUpperBuffW knows every script's letters, also where code page 936
// has only the small letter; each code unit keeps its place.
TEST(CodePageContract, WideUpperCaseCoversEveryLetter) {
    const ICodePage& cp = CodePageUnderTest();
    const std::u16string upper =
        u"C:\\CAF" + kCapitalE + u";" + kCapitalA + kCapitalU + u";ΩЯ;ⅠＺ;" + kKorean + u";批";
    EXPECT_EQ(cp.ToUpperWide(u"c:\\café;ǎü;ωя;ⅰｚ;" + kKorean + u";批"), upper);
}

// What code page 936 holds, without best-fit look-alikes: the pinyin letters
// but not their capitals, no Korean, no lone surrogate.
TEST(CodePageContract, RepresentsOnlyWhatTheCodePageHolds) {
    const ICodePage& cp = CodePageUnderTest();
    for (char16_t unit :
         {u'A', u'z', u'\\', u';', u'批', u'é', u'ü', u'Ω', u'ω', u'Я', u'Ⅰ', u'Ｚ'}) {
        EXPECT_TRUE(cp.Represents(unit)) << std::hex << static_cast<unsigned>(unit);
    }
    for (char16_t unit : kCapitalE + kCapitalU + kCapitalA + kKorean + u"\u00DF\xD800") {
        EXPECT_FALSE(cp.Represents(unit)) << std::hex << static_cast<unsigned>(unit);
    }
}

}  // namespace
}  // namespace vk::contract
