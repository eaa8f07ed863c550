// Composing the new "TRUSTEDPATHS" list from the old one and the install folder.
#include <gtest/gtest.h>

#include "engine/trusted_paths.h"
#include "platform/memory/cp936_codepage.h"

namespace vk {
namespace {

const memory::Cp936CodePage kCp;
const std::string kFolder = "C:\\Varnok\\Varnok批打印软件";
const std::string kUpperFolder = "C:\\VARNOK\\VARNOK批打印软件";

std::string Compose(const std::string& oldList) {
    return ComposeTrustedPaths(oldList, kFolder, kCp);
}

TEST(TrustedPathsCompose, EmptyListBecomesTheFolderAsStored) {
    EXPECT_EQ(Compose(""), kFolder);
}

TEST(TrustedPathsCompose, OtherListsAreUpperCasedAndKeptWhole) {
    EXPECT_EQ(Compose("d:\\tools;e:\\cad"), "D:\\TOOLS;E:\\CAD;" + kUpperFolder);
    // One or two characters are a list like any other.
    EXPECT_EQ(Compose("."), ".;" + kUpperFolder);
    EXPECT_EQ(Compose("c:"), "C:;" + kUpperFolder);
    EXPECT_EQ(Compose("d:\\tools;"), "D:\\TOOLS;;" + kUpperFolder);

    const std::string longList(20000, 'x');
    EXPECT_TRUE(Compose(longList) == std::string(20000, 'X') + ";" + kUpperFolder);
}

TEST(TrustedPathsCompose, FolderAlreadyListedInAnyFormAddsNothing) {
    for (const std::string& entry : std::vector<std::string>{
             kFolder, kUpperFolder, std::string("c:\\varnok\\varnok批打印软件"), kFolder + "\\",
             kFolder + "\\..."}) {
        const std::string list = "D:\\A;" + entry + ";E:\\B";
        EXPECT_EQ(Compose(list), kCp.ToUpper(list)) << entry;
    }
}

TEST(TrustedPathsCompose, OnlyAWholeEntryCountsAsTheFolder) {
    for (const std::string& list :
         std::vector<std::string>{kFolder + "2", kFolder + "\\Sub", "C:\\Varnok", "X" + kFolder,
                                  kFolder + "\\..\\x", "C:\\Varnok\\...", kFolder + "\\\\"}) {
        EXPECT_EQ(Compose(list), kCp.ToUpper(list) + ";" + kUpperFolder) << list;
    }
}

TEST(TrustedPathsCompose, DoubleByteCharactersStayWhole) {
    // "\x81\x61" and "\x81\x41" are two different characters whose trail bytes
    // are 'a' and 'A': a byte-wise case change would make them one.
    const std::string folder = "C:\\\x81\x61";
    EXPECT_EQ(ComposeTrustedPaths("C:\\\x81\x41", folder, kCp), "C:\\\x81\x41;" + folder);
    // "\x81\x5C" ends in byte 0x5C: no backslash to drop, so the entry is not the folder.
    EXPECT_EQ(ComposeTrustedPaths("C:\\\x81\x5C", "C:\\\x81", kCp), "C:\\\x81\x5C;C:\\\x81");
    EXPECT_TRUE(TrustedPathsHold("C:\\\x81\x5C\\", "C:\\\x81\x5C", kCp));
    EXPECT_TRUE(TrustedPathsHold("C:\\\x81\x5C\\...", "C:\\\x81\x5C", kCp));
}

}  // namespace
}  // namespace vk

// The list as the installation reads it: UTF-16, whatever its characters.
namespace vk {
namespace {

const std::u16string kWideFolder = u"C:\\Varnok\\Varnok批打印软件";
const std::u16string kWideUpperFolder = u"C:\\VARNOK\\VARNOK批打印软件";
// Outside the code page, so kept out of the test macros (whose text is made ANSI).
const std::u16string kKorean = u"한국어";
const std::u16string kCapitalE = u"É";

std::u16string Compose(const std::u16string& oldList) {
    return ComposeTrustedPaths(oldList, kWideFolder, kCp);
}

TEST(TrustedPathsComposeWide, CharactersOutsideTheCodePageSurvive) {
    // Upper-cased only where the code page has the capital too: not é, ü.
    EXPECT_EQ(Compose(u"d:\\" + kKorean + u";e:\\café;f:\\ωü"),
              u"D:\\" + kKorean + u";E:\\CAFé;F:\\Ωü;" + kWideUpperFolder);
    EXPECT_EQ(Compose(u""), kWideFolder);
}

TEST(TrustedPathsComposeWide, EntriesCompareWithoutRegardToCase) {
    // As another program may have written them, with capitals the code page lacks.
    const std::u16string list = u"D:\\CAF" + kCapitalE + u";c:\\varnok\\varnok批打印软件\\";
    EXPECT_EQ(Compose(list), u"D:\\CAF" + kCapitalE + u";C:\\VARNOK\\VARNOK批打印软件\\");
    EXPECT_TRUE(TrustedPathsHold(list, u"d:\\café", kCp));
    EXPECT_FALSE(TrustedPathsHold(list, u"d:\\cafe", kCp));
}

}  // namespace
}  // namespace vk
