// The file system as the setup relies on it, asserted alike against Windows
// (under Wine) and the memory file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "contract/contract_subject.h"

namespace vk::contract {
namespace {

class FileSystemContract : public ::testing::Test {
protected:
    IFileSystem& fs() { return scratch_->Files(); }
    std::string In(const std::string& name) { return scratch_->Folder() + "\\" + name; }
    void Write(const std::string& name, const std::string& content) {
        scratch_->WriteFile(In(name), content);
    }
    std::optional<std::string> Read(const std::string& name) {
        return scratch_->ReadFile(In(name));
    }

    // Every entry FindFirst/FindNext give for `pattern`, by name; the handle is closed.
    std::map<std::string, std::uint32_t> List(const std::string& pattern) {
        std::map<std::string, std::uint32_t> entries;
        FindHandle find = kNoFind;
        FindEntry entry;
        if (fs().FindFirst(pattern, find, entry) != kOk) {
            return entries;
        }
        OsResult result = kOk;
        for (; result == kOk; result = fs().FindNext(find, entry)) {
            entries.emplace(entry.name, entry.attributes);
        }
        EXPECT_EQ(result, kErrNoMoreFiles);
        EXPECT_EQ(fs().FindClose(find), kOk);
        return entries;
    }
    std::map<std::string, std::uint32_t> ListScratch() { return List(In("*.*")); }

    std::unique_ptr<FileScratch> scratch_ = MakeFileScratch();
};

TEST_F(FileSystemContract, ListsAFolderWithDotEntriesAndAttributes) {
    Write("Varnok.prt7", "dll");
    Write("只读.txt", "ro");
    ASSERT_EQ(fs().SetAttributes(In("只读.txt"), kAttrReadOnly), kOk);
    ASSERT_EQ(fs().CreateFolder(In("Sub")), kOk);

    const auto entries = ListScratch();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_NE(entries.at(".") & kAttrDirectory, 0u);
    EXPECT_NE(entries.at("..") & kAttrDirectory, 0u);
    EXPECT_NE(entries.at("Sub") & kAttrDirectory, 0u);
    EXPECT_EQ(entries.at("Varnok.prt7") & (kAttrDirectory | kAttrReadOnly), 0u);
    EXPECT_EQ(entries.at("只读.txt") & (kAttrDirectory | kAttrReadOnly), kAttrReadOnly);
}

TEST_F(FileSystemContract, ListingStartsWithTheDotEntries) {
    Write("a.txt", "");
    FindHandle find = kNoFind;
    FindEntry first, second;
    ASSERT_EQ(fs().FindFirst(In("*.*"), find, first), kOk);
    EXPECT_EQ(fs().FindNext(find, second), kOk);
    EXPECT_EQ(fs().FindClose(find), kOk);
    EXPECT_EQ(first.name, ".");
    EXPECT_EQ(second.name, "..");
}

// GetPathKind looks a single path up with FindFirstFileA.
TEST_F(FileSystemContract, FindsASinglePathByItsName) {
    Write("Data", "a file, not a folder");
    ASSERT_EQ(fs().CreateFolder(In("Folder")), kOk);
    EXPECT_EQ(List(In("data")),
              (std::map<std::string, std::uint32_t>{{"Data", fs().GetAttributes(In("Data"))}}));
    const auto folder = List(In("Folder"));
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_NE(folder.at("Folder") & kAttrDirectory, 0u);
}

TEST_F(FileSystemContract, FindingNothingFailsWithoutAHandle) {
    FindHandle find = 77;
    FindEntry entry;
    EXPECT_EQ(fs().FindFirst(In("*.xyz"), find, entry), kErrFileNotFound);
    EXPECT_EQ(find, kNoFind);
    EXPECT_EQ(fs().FindFirst(In("Missing\\*.*"), find, entry), kErrPathNotFound);
    EXPECT_EQ(find, kNoFind);
}

TEST_F(FileSystemContract, AttributesOfFilesAndFolders) {
    Write("file.txt", "x");
    EXPECT_EQ(fs().GetAttributes(In("file.txt")) & kAttrDirectory, 0u);
    EXPECT_NE(fs().GetAttributes(scratch_->Folder()) & kAttrDirectory, 0u);
    EXPECT_EQ(fs().GetAttributes(In("missing.txt")), kInvalidAttributes);
    EXPECT_EQ(fs().GetAttributes(In("Missing\\file.txt")), kInvalidAttributes);

    ASSERT_EQ(fs().SetAttributes(In("file.txt"), kAttrReadOnly | kAttrHidden), kOk);
    EXPECT_EQ(fs().GetAttributes(In("file.txt")) & (kAttrReadOnly | kAttrHidden),
              kAttrReadOnly | kAttrHidden);
    EXPECT_EQ(fs().SetAttributes(In("missing.txt"), kAttrReadOnly), kErrFileNotFound);
}

TEST_F(FileSystemContract, CreateFolderMakesOneLevelBelowAnExistingParent) {
    EXPECT_EQ(fs().CreateFolder(In("Missing\\Child")), kErrPathNotFound);
    EXPECT_EQ(fs().GetAttributes(In("Missing")), kInvalidAttributes);

    ASSERT_EQ(fs().CreateFolder(In("Varnok批打印软件")), kOk);
    EXPECT_NE(fs().GetAttributes(In("Varnok批打印软件")) & kAttrDirectory, 0u);
    EXPECT_EQ(fs().CreateFolder(In("VARNOK批打印软件")), kErrAlreadyExists);

    Write("file", "");
    EXPECT_EQ(fs().CreateFolder(In("file")), kErrAlreadyExists);
}

TEST_F(FileSystemContract, CopyCreatesAndOverwritesFiles) {
    Write("source", "new content");
    ASSERT_EQ(fs().CopyFile(In("source"), In("copy")), kOk);
    EXPECT_EQ(Read("copy"), "new content");
    EXPECT_EQ(Read("source"), "new content");

    Write("existing", "old, longer content");
    ASSERT_EQ(fs().CopyFile(In("source"), In("existing")), kOk);
    EXPECT_EQ(Read("existing"), "new content");
}

TEST_F(FileSystemContract, AReadOnlyDestinationRefusesTheCopyUntilCleared) {
    Write("source", "new");
    Write("target", "old");
    ASSERT_EQ(fs().SetAttributes(In("target"), kAttrReadOnly), kOk);
    EXPECT_EQ(fs().CopyFile(In("source"), In("target")), kErrAccessDenied);
    EXPECT_EQ(Read("target"), "old");

    const std::uint32_t attributes = fs().GetAttributes(In("target"));
    ASSERT_EQ(fs().SetAttributes(In("target"), attributes & ~kAttrReadOnly), kOk);
    EXPECT_EQ(fs().CopyFile(In("source"), In("target")), kOk);
    EXPECT_EQ(Read("target"), "new");
}

// The copy takes the source's attributes: a read-only source gives a read-only copy.
TEST_F(FileSystemContract, ACopyOfAReadOnlySourceIsReadOnly) {
    Write("source", "data");
    ASSERT_EQ(fs().SetAttributes(In("source"), kAttrReadOnly), kOk);
    ASSERT_EQ(fs().CopyFile(In("source"), In("copy")), kOk);
    EXPECT_NE(fs().GetAttributes(In("copy")) & kAttrReadOnly, 0u);
}

TEST_F(FileSystemContract, CopyFailsForAMissingSourceOrFolder) {
    Write("source", "data");
    EXPECT_EQ(fs().CopyFile(In("missing"), In("copy")), kErrFileNotFound);
    EXPECT_EQ(fs().CopyFile(In("source"), In("Missing\\copy")), kErrPathNotFound);
    EXPECT_EQ(ListScratch().size(), 3u) << "only ., .. and the source";
}

TEST_F(FileSystemContract, NamesCompareWithoutRegardToCase) {
    Write("Varnok.Ini", "settings");
    EXPECT_NE(fs().GetAttributes(In("VARNOK.INI")), kInvalidAttributes);
    Write("new", "replaced");
    ASSERT_EQ(fs().CopyFile(In("NEW"), In("varnok.ini")), kOk);
    EXPECT_EQ(Read("Varnok.Ini"), "replaced");
    EXPECT_EQ(ListScratch().size(), 4u);
}

// 0x81 0x5C is one GBK character whose trail byte is the backslash.
TEST_F(FileSystemContract, GbkNamesRoundTrip) {
    const std::string name = "字体\x81\x5C.shx";
    Write(name, "font");
    EXPECT_TRUE(ListScratch().contains(name));
    EXPECT_EQ(fs().GetAttributes(In(name)) & kAttrDirectory, 0u);
    ASSERT_EQ(fs().CopyFile(In(name), In(name + "2")), kOk);
    EXPECT_EQ(Read(name + "2"), "font");
}

// Paths hold at most 259 bytes; a longer one must fail, not be cut short.
TEST_F(FileSystemContract, PathsOver259BytesAreRefusedAndChangeNothing) {
    Write("source", "data");
    const std::string base = In("");
    const std::string longest = base + std::string(259 - base.size(), 'n');
    const std::string tooLong = longest + "x";
    ASSERT_EQ(longest.size(), 259u);

    EXPECT_EQ(fs().CreateFolder(tooLong), kErrFilenameTooLong);
    EXPECT_EQ(fs().CopyFile(In("source"), tooLong), kErrFilenameTooLong);
    EXPECT_EQ(fs().SetAttributes(tooLong, kAttrReadOnly), kErrFilenameTooLong);
    EXPECT_EQ(fs().GetAttributes(tooLong), kInvalidAttributes);
    FindHandle find = kNoFind;
    FindEntry entry;
    EXPECT_EQ(fs().FindFirst(tooLong, find, entry), kErrFilenameTooLong);
    EXPECT_EQ(find, kNoFind);
    EXPECT_EQ(ListScratch().size(), 3u) << "nothing created, not even under a cut name";

    EXPECT_EQ(fs().CopyFile(In("source"), longest), kOk);
    EXPECT_EQ(fs().GetAttributes(longest) & kAttrDirectory, 0u);
}

TEST_F(FileSystemContract, ReadsEnvironmentVariablesOfAnyLength) {
    scratch_->SetEnvironment("VARNOK_CONTRACT", "C:\\用户\\Roaming");
    std::string value;
    ASSERT_EQ(fs().GetEnvironmentVariable("VARNOK_CONTRACT", value), kOk);
    EXPECT_EQ(value, "C:\\用户\\Roaming");

    const std::string longValue(1000, 'v');
    scratch_->SetEnvironment("VARNOK_CONTRACT", longValue);
    ASSERT_EQ(fs().GetEnvironmentVariable("VARNOK_CONTRACT", value), kOk);
    EXPECT_EQ(value, longValue);

    scratch_->SetEnvironment("VARNOK_CONTRACT", std::nullopt);
    EXPECT_EQ(fs().GetEnvironmentVariable("VARNOK_CONTRACT", value), kErrFileNotFound);
    EXPECT_TRUE(value.empty());
}

TEST_F(FileSystemContract, TheCurrentFolderReadsBackWhole) {
    const std::string folder = In("安装目录");
    ASSERT_EQ(fs().CreateFolder(folder), kOk);
    scratch_->SetCurrentFolder(folder);
    std::string current;
    ASSERT_EQ(fs().GetCurrentFolder(current), kOk);
    EXPECT_EQ(current, folder);
}

TEST_F(FileSystemContract, ProgramAndUserFoldersAreDriveLetterPaths) {
    std::string module, appData, current;
    ASSERT_EQ(fs().GetModulePath(module), kOk);
    ASSERT_EQ(fs().GetRoamingAppDataFolder(appData), kOk);
    ASSERT_EQ(fs().GetCurrentFolder(current), kOk);
    for (const std::string& path : {module, appData, current}) {
        ASSERT_GE(path.size(), 3u) << path;
        EXPECT_EQ(path.substr(1, 2), ":\\") << path;
    }
    EXPECT_EQ(module.substr(module.size() - 4), ".exe");
}

// What the installation record and the uninstall rely on: whole files read,
// lines appended, files and empty folders removed; what cannot be is refused.
TEST_F(FileSystemContract, ReadsAppendsAndRemoves) {
    std::string content;
    EXPECT_EQ(fs().ReadWholeFile(In("记录.txt"), content), kErrFileNotFound);
    ASSERT_EQ(fs().AppendToFile(In("记录.txt"), "one\n"), kOk);
    ASSERT_EQ(fs().AppendToFile(In("记录.txt"), std::string("two\0\xFF\n", 6)), kOk);
    ASSERT_EQ(fs().ReadWholeFile(In("记录.txt"), content), kOk);
    EXPECT_EQ(content, std::string("one\ntwo\0\xFF\n", 10));
    EXPECT_EQ(fs().AppendToFile(In("Missing\\x.txt"), "x"), kErrPathNotFound);

    // In pieces: a file larger than one piece comes whole and in order.
    const std::string large(150000, 'z');
    ASSERT_EQ(fs().AppendToFile(In("large.bin"), large + "end"), kOk);
    std::string joined;
    std::size_t largest = 0;
    const auto take = [&](std::string_view piece) {
        joined += piece;
        largest = std::max(largest, piece.size());
    };
    ASSERT_EQ(fs().ReadInPieces(In("large.bin"), take), kOk);
    EXPECT_EQ(joined, large + "end");
    EXPECT_LE(largest, std::size_t{1} << 16);
    EXPECT_EQ(fs().ReadInPieces(In("none.bin"), take), kErrFileNotFound);

    ASSERT_EQ(fs().CreateFolder(In("Sub")), kOk);
    Write("Sub\\kept.txt", "kept");
    EXPECT_EQ(fs().RemoveEmptyFolder(In("Sub")), 145);  // ERROR_DIR_NOT_EMPTY
    EXPECT_EQ(fs().ReadWholeFile(In("Sub"), content), kErrAccessDenied);
    ASSERT_EQ(fs().SetAttributes(In("Sub\\kept.txt"), kAttrReadOnly), kOk);
    EXPECT_EQ(fs().RemoveFile(In("Sub\\kept.txt")), kErrAccessDenied);
    ASSERT_EQ(fs().SetAttributes(In("Sub\\kept.txt"), kAttrNormal), kOk);
    EXPECT_EQ(fs().RemoveFile(In("Sub\\kept.txt")), kOk);
    EXPECT_EQ(fs().RemoveFile(In("Sub\\kept.txt")), kErrFileNotFound);
    EXPECT_EQ(fs().RemoveEmptyFolder(In("Sub")), kOk);
    EXPECT_EQ(fs().GetAttributes(In("Sub")), kInvalidAttributes);
}

// Wine 8 answers success and keeps nothing (reading back gives its default
// DACL), so what was applied cannot be read back here: the memory file system
// remembers it for the installation's tests.
TEST_F(FileSystemContract, AppliesASecurityDescriptorGivenAsSddl) {
    ASSERT_EQ(fs().CreateFolder(In("Protected")), kOk);
    Write("Protected\\inside.dll", "dll");
    EXPECT_EQ(fs().ApplySecurity(In("Protected"),
                                 "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"),
              kOk);
    EXPECT_EQ(fs().ApplySecurity(In("Protected\\inside.dll"), "O:BAD:"), kOk);
    EXPECT_EQ(fs().ApplySecurity(In("Missing"), "O:BAD:"), kErrFileNotFound);
    EXPECT_EQ(fs().ApplySecurity(In("Protected"), ""), kErrInvalidParameter);
}

// Nothing of another account's is written through or kept: a name that exists
// (a file, a folder, or a link under either) is refused whole.
TEST_F(FileSystemContract, MakesNewEntriesOnlyWhereNothingIs) {
    Write("source.txt", "new");
    Write("there.txt", "old");
    EXPECT_EQ(fs().CopyFileNew(In("source.txt"), In("copy.txt")), kOk);
    EXPECT_EQ(Read("copy.txt"), "new");
    EXPECT_EQ(fs().CopyFileNew(In("source.txt"), In("there.txt")), kErrFileExists);
    EXPECT_EQ(Read("there.txt"), "old");
    // In one pass, what is written is seen, in pieces of at most 64 KiB.
    const std::string big(200000, 'b');
    Write("big.bin", big);
    std::string seen;
    std::size_t largest = 0;
    const auto see = [&](std::string_view piece) {
        seen += piece;
        largest = std::max(largest, piece.size());
    };
    EXPECT_EQ(fs().CopyToNewFile(In("big.bin"), In("big copy.bin"), see), kOk);
    EXPECT_EQ(Read("big copy.bin"), big);
    EXPECT_EQ(seen, big);
    EXPECT_LE(largest, 65536u);
    EXPECT_EQ(fs().CopyToNewFile(In("source.txt"), In("there.txt"), see), kErrFileExists);
    EXPECT_EQ(Read("there.txt"), "old");

    const std::string sddl = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    EXPECT_EQ(fs().CreateFolderWithSecurity(In("Made"), sddl), kOk);
    EXPECT_EQ(fs().GetAttributes(In("Made")) & kAttrDirectory, kAttrDirectory);
    EXPECT_EQ(fs().CreateFolderWithSecurity(In("Made"), sddl), kErrAlreadyExists);
    EXPECT_EQ(fs().CreateFolderWithSecurity(In("Missing\\Below"), sddl), kErrPathNotFound);
    EXPECT_EQ(fs().CreateFolderWithSecurity(In("NoDescriptor"), ""), kErrInvalidParameter);
}

// A file takes the place of another by its name: what was there is replaced,
// never written into; a folder or a read-only file keeps its place.
TEST_F(FileSystemContract, MovesAFileIntoTheNameOfAnother) {
    Write("new.txt", "new");
    Write("old.txt", "old");
    ASSERT_EQ(fs().MoveReplacing(In("new.txt"), In("old.txt")), kOk);
    EXPECT_EQ(Read("old.txt"), "new");
    EXPECT_EQ(fs().GetAttributes(In("new.txt")), kInvalidAttributes);
    Write("next.txt", "next");
    EXPECT_EQ(fs().MoveReplacing(In("next.txt"), In("fresh.txt")), kOk);
    EXPECT_EQ(Read("fresh.txt"), "next");

    Write("blocked.txt", "kept");
    ASSERT_EQ(fs().CreateFolder(In("Folder")), kOk);
    EXPECT_EQ(fs().MoveReplacing(In("fresh.txt"), In("Folder")), kErrAccessDenied);
    ASSERT_EQ(fs().SetAttributes(In("blocked.txt"), kAttrReadOnly), kOk);
    EXPECT_EQ(fs().MoveReplacing(In("fresh.txt"), In("blocked.txt")), kErrAccessDenied);
    EXPECT_EQ(Read("blocked.txt"), "kept");
    EXPECT_EQ(Read("fresh.txt"), "next");
    ASSERT_EQ(fs().SetAttributes(In("blocked.txt"), kAttrNormal), kOk);
    EXPECT_EQ(fs().MoveReplacing(In("missing.txt"), In("x.txt")), kErrFileNotFound);
}

// A folder of the user's own: owned by a safe owner (Administrators in memory,
// the running account under Wine), that standard users cannot replace.
TEST_F(FileSystemContract, ReadsAFoldersOwnerAndWhatAStandardUserMayDo) {
    constexpr std::uint32_t kReplacing = 0x10000 | 0x40000 | 0x80000 | 0x40;
    FolderSecurity security;
    ASSERT_EQ(fs().GetFolderSecurity(scratch_->Folder(), security), kOk);
    EXPECT_NE(security.owner, FileOwner::Other);
    EXPECT_EQ(security.standardUserRights & kReplacing, 0u);
    EXPECT_EQ(fs().GetFolderSecurity(In("Missing"), security), kErrFileNotFound);
}

}  // namespace
}  // namespace vk::contract
