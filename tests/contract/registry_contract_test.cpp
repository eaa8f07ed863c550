// The registry as the setup relies on it, asserted alike against Windows (under
// Wine) and the memory registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "contract/contract_subject.h"
#include "core/reg_key.h"

namespace vk::contract {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

class RegistryContract : public ::testing::Test {
protected:
    IRegistry& reg() { return scratch_->Registry(); }
    RegHandle root() { return scratch_->Key(); }

    void Create(const std::string& path) {
        RegKey key(reg());
        ASSERT_EQ(key.Create(root(), path), kOk) << path;
    }
    std::vector<std::string> Subkeys(RegHandle key) {
        std::uint32_t count = 0;
        EXPECT_EQ(reg().QuerySubkeyCount(key, count), kOk);
        std::vector<std::string> names(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(reg().EnumSubkey(key, i, names[i]), kOk) << i;
        }
        return names;
    }
    // Reads with a buffer of `size` bytes; the stored type goes to `type`.
    OsResult Query(RegHandle key, const std::string& name, std::size_t size, Bytes& data,
                   std::uint32_t& type) {
        return reg().QueryValue(key, name, size, data, type);
    }

    std::unique_ptr<RegistryScratch> scratch_ = MakeRegistryScratch();
};

TEST_F(RegistryContract, CreateMakesEveryMissingLevelAndOpensExistingKeys) {
    RegKey created(reg());
    ASSERT_EQ(created.Create(root(), "Level1\\Level2"), kOk);
    ASSERT_EQ(reg().SetDword(created.Get(), "Mark", 7), kOk);

    RegKey again(reg());
    ASSERT_EQ(again.Create(root(), "Level1\\Level2"), kOk);
    Bytes data;
    std::uint32_t type = 0;
    EXPECT_EQ(Query(again.Get(), "Mark", 4, data, type), kOk) << "created again, not replaced";

    RegKey opened(reg()), readOnly(reg());
    EXPECT_EQ(opened.Open(root(), "Level1\\Level2"), kOk);
    EXPECT_EQ(readOnly.OpenForRead(root(), "Level1"), kOk);
    EXPECT_EQ(Subkeys(readOnly.Get()), std::vector<std::string>{"Level2"});
}

TEST_F(RegistryContract, OpeningAMissingKeyFailsAndHandsOutNoKey) {
    RegHandle key = 12345;
    EXPECT_EQ(reg().OpenKey(root(), "Missing", key), kErrFileNotFound);
    EXPECT_EQ(key, kNoKey);
    key = 12345;
    EXPECT_EQ(reg().OpenKeyForRead(root(), "Missing\\Deeper", key), kErrFileNotFound);
    EXPECT_EQ(key, kNoKey);
}

TEST_F(RegistryContract, OneTrailingBackslashNamesTheSameKey) {
    Create("Product\\");
    EXPECT_EQ(Subkeys(root()), std::vector<std::string>{"Product"});
    RegKey opened(reg()), readOnly(reg());
    EXPECT_EQ(opened.Open(root(), "Product\\"), kOk);
    EXPECT_EQ(readOnly.OpenForRead(root(), "Product\\"), kOk);
}

// The registry keeps a handle count per handle: were an empty name to hand back
// the parent's own handle, closing it would close the parent too.
TEST_F(RegistryContract, AnEmptyNameOpensANewHandleThatClosesOnItsOwn) {
    using Open = OsResult (IRegistry::*)(RegHandle, const std::string&, RegHandle&);
    for (Open open : {&IRegistry::OpenKey, &IRegistry::OpenKeyForRead, &IRegistry::CreateKey}) {
        RegHandle same = kNoKey;
        ASSERT_EQ((reg().*open)(root(), "", same), kOk);
        EXPECT_NE(same, root());
        std::uint32_t count = 99;
        EXPECT_EQ(reg().QuerySubkeyCount(same, count), kOk);
        EXPECT_EQ(count, 0u) << "the handle names the parent key itself";
        EXPECT_EQ(reg().CloseKey(same), kOk);
        EXPECT_EQ(reg().SetDword(root(), "StillOpen", 1), kOk) << "the parent was closed too";
    }
}

TEST_F(RegistryContract, CountsAndListsImmediateSubkeysSortedWithoutRegardToCase) {
    for (const char* name : {"c", "B2", "a1", "b", "A"}) {
        Create(name);
    }
    Create("b\\Grandchild");
    EXPECT_EQ(Subkeys(root()), (std::vector<std::string>{"A", "a1", "b", "B2", "c"}));

    std::string name = "left over";
    EXPECT_EQ(reg().EnumSubkey(root(), 5, name), kErrNoMoreItems);
}

TEST_F(RegistryContract, NamesCompareWithoutRegardToCase) {
    Create("MixedCase");
    RegKey upper(reg());
    ASSERT_EQ(upper.Create(root(), "MIXEDCASE"), kOk);
    EXPECT_EQ(Subkeys(root()), std::vector<std::string>{"MixedCase"}) << "stored as first named";

    ASSERT_EQ(reg().SetString(upper.Get(), "ProductName", "x"), kOk);
    RegKey lower(reg());
    ASSERT_EQ(lower.OpenForRead(root(), "mixedcase"), kOk);
    Bytes data;
    std::uint32_t type = 0;
    EXPECT_EQ(Query(lower.Get(), "PRODUCTNAME", 256, data, type), kOk);
}

// 0x81 0x5C is one GBK character whose trail byte is the backslash.
TEST_F(RegistryContract, AGbkTrailByteBackslashIsNoSeparator) {
    const std::string name = "\x81\x5C";
    Create(name + "\\Child");
    EXPECT_EQ(Subkeys(root()), std::vector<std::string>{name});
    RegKey key(reg());
    ASSERT_EQ(key.OpenForRead(root(), name), kOk);
    EXPECT_EQ(Subkeys(key.Get()), std::vector<std::string>{"Child"});

    const std::string chinese = "中文版";
    Create(chinese);
    RegKey byName(reg());
    EXPECT_EQ(byName.Open(root(), chinese), kOk);
}

// The length passed leaves the NUL out, yet Windows stores it: the byte after
// the data is a NUL, and RegSetValueExA then counts it in.
TEST_F(RegistryContract, AStringIsStoredWithItsTerminatingNul) {
    const std::string text = "D:\\AutoCAD 2018\\简体中文";
    ASSERT_EQ(reg().SetString(root(), "AcadLocation", text), kOk);
    const Bytes stored = BytesOf(text + '\0');

    Bytes data;
    std::uint32_t type = 0;
    ASSERT_EQ(Query(root(), "AcadLocation", 256, data, type), kOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, stored);

    std::size_t size = 0;
    ASSERT_EQ(reg().QueryValueSize(root(), "AcadLocation", size), kOk);
    // Windows may report more than the ANSI bytes here (the stored UTF-16
    // size); what matters is that a buffer of that size reads the value.
    EXPECT_GE(size, stored.size());
    EXPECT_EQ(Query(root(), "AcadLocation", size, data, type), kOk);
}

TEST_F(RegistryContract, ABufferTooSmallIsMoreDataAndAnExactFitReads) {
    const std::string text = "exact";
    ASSERT_EQ(reg().SetString(root(), "Value", text), kOk);
    Bytes data = {1, 2, 3};
    std::uint32_t type = 0;
    EXPECT_EQ(Query(root(), "Value", text.size(), data, type), kErrMoreData) << "no room for NUL";
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(Query(root(), "Value", 0, data, type), kErrMoreData);
    EXPECT_EQ(Query(root(), "Value", text.size() + 1, data, type), kOk);
    EXPECT_EQ(data, BytesOf(text + '\0'));
}

TEST_F(RegistryContract, AnEmptyStringIsStoredEmpty) {
    ASSERT_EQ(reg().SetString(root(), "TRUSTEDPATHS", ""), kOk);
    Bytes data = {1};
    std::uint32_t type = 0;
    EXPECT_EQ(Query(root(), "TRUSTEDPATHS", 13000, data, type), kOk);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(type, kRegSz);
}

TEST_F(RegistryContract, AnAbsentValueIsFileNotFound) {
    Bytes data = {1};
    std::uint32_t type = 0;
    EXPECT_EQ(Query(root(), "Absent", 256, data, type), kErrFileNotFound);
    EXPECT_TRUE(data.empty());
    std::size_t size = 1;
    EXPECT_EQ(reg().QueryValueSize(root(), "Absent", size), kErrFileNotFound);
}

TEST_F(RegistryContract, ADwordIsFourLittleEndianBytes) {
    ASSERT_EQ(reg().SetDword(root(), "LOADCTRLS", 0x12345678), kOk);
    Bytes data;
    std::uint32_t type = 0;
    ASSERT_EQ(Query(root(), "LOADCTRLS", 4, data, type), kOk);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(data, (Bytes{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(Query(root(), "LOADCTRLS", 3, data, type), kErrMoreData);
}

// Texts through the wide functions: every character survives, the type too.
TEST_F(RegistryContract, AWideTextKeepsEveryCharacterAndItsType) {
    const std::u16string text = u"C:\\한국어;D:\\CAFé;E:\\Über批";
    ASSERT_EQ(reg().SetText(root(), "TRUSTEDPATHS", kRegSz, text), kOk);
    std::size_t size = 0;
    ASSERT_EQ(reg().QueryTextSize(root(), "TRUSTEDPATHS", size), kOk);
    EXPECT_EQ(size, (text.size() + 1) * 2) << "UTF-16 with its NUL";
    std::u16string read = u"left over";
    std::uint32_t type = 0;
    EXPECT_EQ(reg().QueryText(root(), "TRUSTEDPATHS", size, read, type), kOk);
    EXPECT_EQ(read, text);
    EXPECT_EQ(type, kRegSz);

    const std::u16string expandable = u"%APPDATA%\\Tools;%UNSET_VARNOK%";
    ASSERT_EQ(reg().SetText(root(), "Expandable", kRegExpandSz, expandable), kOk);
    EXPECT_EQ(reg().QueryText(root(), "Expandable", 256, read, type), kOk);
    EXPECT_EQ(read, expandable) << "expanded";
    EXPECT_EQ(type, kRegExpandSz);

    EXPECT_EQ(reg().SetText(root(), "Number", kRegDword, u"1"), kErrInvalidParameter);
}

// One store, two views: the ANSI functions see the code page's bytes.
TEST_F(RegistryContract, AnsiAndWideTextsAreTheSameValue) {
    ASSERT_EQ(reg().SetString(root(), "Ansi", "D:\\批打印"), kOk);
    std::u16string read;
    std::uint32_t type = 0;
    EXPECT_EQ(reg().QueryText(root(), "Ansi", 256, read, type), kOk);
    EXPECT_EQ(read, u"D:\\批打印");

    ASSERT_EQ(reg().SetText(root(), "Wide", kRegSz, u"D:\\批打印"), kOk);
    Bytes data;
    EXPECT_EQ(Query(root(), "Wide", 256, data, type), kOk);
    EXPECT_EQ(data, BytesOf(std::string("D:\\批打印") + '\0'));
}

TEST_F(RegistryContract, AWideReadGivesMoreDataAbsenceAndOtherTypes) {
    ASSERT_EQ(reg().SetText(root(), "Value", kRegSz, u"exact"), kOk);
    std::u16string read = u"x";
    std::uint32_t type = 0;
    EXPECT_EQ(reg().QueryText(root(), "Value", 10, read, type), kErrMoreData) << "no room for NUL";
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(reg().QueryText(root(), "Value", 12, read, type), kOk);
    EXPECT_EQ(read, u"exact");

    std::u16string absent = u"x";
    EXPECT_EQ(reg().QueryText(root(), "Absent", 256, absent, type), kErrFileNotFound);
    EXPECT_TRUE(absent.empty());
    std::size_t size = 1;
    EXPECT_EQ(reg().QueryTextSize(root(), "Absent", size), kErrFileNotFound);

    ASSERT_EQ(reg().SetDword(root(), "Number", 7), kOk);
    EXPECT_EQ(reg().QueryText(root(), "Number", 256, read, type), kOk);
    EXPECT_EQ(type, kRegDword);
    EXPECT_TRUE(read.empty());
}

TEST_F(RegistryContract, OnlyAKeyWithoutSubkeysIsDeleted) {
    Create("Parent\\Child");
    EXPECT_EQ(reg().DeleteKey(root(), "Parent"), kErrAccessDenied);
    EXPECT_EQ(Subkeys(root()), std::vector<std::string>{"Parent"});

    EXPECT_EQ(reg().DeleteKey(root(), "PARENT\\child"), kOk);
    EXPECT_EQ(reg().DeleteKey(root(), "Parent"), kOk);
    EXPECT_TRUE(Subkeys(root()).empty());

    EXPECT_EQ(reg().DeleteKey(root(), "Parent"), kErrFileNotFound);
    EXPECT_EQ(reg().DeleteKey(root(), "Missing\\Deeper"), kErrFileNotFound);
}

TEST_F(RegistryContract, AnEmptyPathDeletesNothing) {
    Create("Kept");
    RegKey kept(reg());
    ASSERT_EQ(kept.Open(root(), "Kept"), kOk);
    EXPECT_NE(reg().DeleteKey(kept.Get(), ""), kOk);
    EXPECT_EQ(Subkeys(root()), std::vector<std::string>{"Kept"});
}

// What an uninstall needs: a value put back byte for byte in any type, values
// listed and deleted.
TEST_F(RegistryContract, ValuesArePutBackListedAndDeleted) {
    const Bytes binary = {0x00, 0xFF, 0x41};
    ASSERT_EQ(reg().SetValue(root(), "Binary", 3, binary), kOk);  // REG_BINARY
    ASSERT_EQ(reg().SetValue(root(), "Text", kRegSz, BytesOf(std::string("C:\\x\0", 5))), kOk);
    Bytes data;
    std::uint32_t type = 0;
    ASSERT_EQ(Query(root(), "binary", 16, data, type), kOk);
    EXPECT_EQ(type, 3u);
    EXPECT_EQ(data, binary);
    ASSERT_EQ(Query(root(), "Text", 16, data, type), kOk);
    EXPECT_EQ(data, BytesOf(std::string("C:\\x\0", 5)));

    std::string first, second, third;
    EXPECT_EQ(reg().EnumValueName(root(), 0, first), kOk);
    EXPECT_EQ(reg().EnumValueName(root(), 1, second), kOk);
    EXPECT_EQ(reg().EnumValueName(root(), 2, third), kErrNoMoreItems);
    EXPECT_EQ(std::set<std::string>({first, second}), (std::set<std::string>{"Binary", "Text"}));

    EXPECT_EQ(reg().DeleteValue(root(), "BINARY"), kOk);
    EXPECT_EQ(reg().DeleteValue(root(), "Binary"), kErrFileNotFound);
    EXPECT_EQ(Query(root(), "Binary", 16, data, type), kErrFileNotFound);
    EXPECT_EQ(reg().EnumValueName(root(), 1, second), kErrNoMoreItems);
}

// Other users' settings are reached through HKEY_USERS: the current user's
// hive is there too, under a SID, holding what HKEY_CURRENT_USER holds.
TEST_F(RegistryContract, HkeyUsersHoldsTheCurrentUsersHiveUnderItsSid) {
    RegKey users(reg());
    ASSERT_EQ(users.OpenRoot(RegRoot::Users), kOk);
    int hivesWithOurKey = 0;
    for (const std::string& sid : Subkeys(users.Get())) {
        RegKey ours(reg());
        if (sid.starts_with("S-1-5-21-") &&
            ours.OpenForRead(users.Get(), sid + "\\Software\\VarnokContract") == kOk)
            ++hivesWithOurKey;
    }
    EXPECT_EQ(hivesWithOurKey, 1);
}

}  // namespace
}  // namespace vk::contract
