#include "core/folder_path_rules.h"

#include <gtest/gtest.h>

#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace {

using vk::kPathCannotCreate;
using vk::kPathDeclined;
using vk::kPathInvalid;
using vk::kPathOk;

const std::string kCaption = "SetUp";

class FolderPathRules : public ::testing::Test {
protected:
    FolderPathRules() { files.AddDrive('D'); }

    int Validate(const std::string& path) { return CreateFolderPath(services, path, true); }
    int Create(const std::string& path) { return CreateFolderPath(services, path, false); }
    bool Valid(const std::string& name) { return IsValidFolderName(codePage, name); }

    vk::memory::FaultInjector faults;
    vk::memory::MemoryRegistry registry;
    vk::memory::MemoryFileSystem files{&faults};
    vk::memory::MemoryProcessList processes;
    vk::memory::MemoryPrompts prompts;
    vk::memory::Cp936CodePage codePage;
    vk::memory::MemoryLog log;
    vk::memory::MemoryRandom random;
    vk::Services services{registry, files, processes, prompts, codePage, log, random};
};

TEST_F(FolderPathRules, FolderNamesRejectEdgesAndForbiddenCharacters) {
    EXPECT_TRUE(Valid("Varnok"));
    EXPECT_TRUE(Valid("Varnok批打印软件"));
    EXPECT_TRUE(Valid("a.b c"));
    for (const char* bad : {"", ".", "..", "abc.", " abc", "abc ", "\tabc", ".abc", "a\"b", "a*b",
                            "a/b", "a:b", "a<b", "a>b", "a?b", "a\\b", "a|b"}) {
        EXPECT_FALSE(Valid(bad)) << bad;
    }
}

TEST_F(FolderPathRules, DoubleByteCharactersWithForbiddenTrailBytesAreValid) {
    // GBK characters whose trail byte is '\' (0x5C) or '|' (0x7C).
    EXPECT_TRUE(Valid("\x81\x5C"));
    EXPECT_TRUE(Valid("a\x81\x7C"));
    EXPECT_EQ(Validate("D:\\\x81\x5C\\b"), kPathOk);
    EXPECT_EQ(Create("D:\\\x81\x5C"), kPathOk);
    EXPECT_TRUE(files.IsFolder("D:\\\x81\x5C"));
    EXPECT_FALSE(files.IsFolder("D:\\\x81"));  // not split at the trail byte
}

TEST_F(FolderPathRules, PathShapes) {
    EXPECT_EQ(Validate("C:\\"), kPathOk);
    EXPECT_EQ(Validate("c:\\temp"), kPathOk);
    EXPECT_EQ(Validate("D:\\Tools\\Varnok批打印软件"), kPathOk);
    for (const char* bad : {"", "C:", "C:\\Temp\\", "C:\\\\Temp", "C:/Temp", "\\\\server\\share",
                            "abc", "1:\\a", "C:\\a\\..", "C:\\a\\.\\b"}) {
        EXPECT_EQ(Validate(bad), kPathInvalid) << bad;
    }
}

TEST_F(FolderPathRules, PathLongerThanTheFileSystemTakesIsInvalid) {
    const std::string longest = "D:\\" + std::string(252, 'a') + "\\bcd";  // 259 bytes
    EXPECT_EQ(Validate(longest), kPathOk);
    EXPECT_EQ(Validate(longest + "e"), kPathInvalid);
}

TEST_F(FolderPathRules, CreateMakesEveryMissingLevel) {
    files.AddFolder("D:\\new");
    EXPECT_EQ(Create("D:\\new\\deeper\\deepest"), kPathOk);
    EXPECT_TRUE(files.IsFolder("D:\\new\\deeper\\deepest"));
}

TEST_F(FolderPathRules, CreateReportsALevelThatCannotBeMade) {
    files.AddFile("D:\\blocker");  // a file in the way of a folder
    EXPECT_EQ(Create("D:\\blocker\\sub"), kPathCannotCreate);
    EXPECT_EQ(Create("E:\\"), kPathCannotCreate);  // no such drive
    EXPECT_EQ(Create("E:\\a"), kPathCannotCreate);
}

TEST_F(FolderPathRules, ExistingPathIsAcceptedWithoutAQuestion) {
    EXPECT_EQ(MakeSurePathExists(services, "C:\\", kCaption), kPathOk);
    files.AddFile("D:\\readme.txt");  // an existing file counts as existing
    EXPECT_EQ(MakeSurePathExists(services, "D:\\readme.txt", kCaption), kPathOk);
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(FolderPathRules, MissingPathIsCreatedAfterOneYes) {
    files.AddFolder("D:\\new");
    prompts.QueueAnswer(vk::kIdYes);
    std::vector<std::string> created;
    const auto protect = [&](const std::string& folder) {
        return files.CreateFolderWithSecurity(folder, "O:BAD:P(A;OICI;FA;;;BA)");
    };
    EXPECT_EQ(MakeSurePathExists(services, "D:\\new\\deeper\\deepest", kCaption, &created, protect),
              kPathOk);
    // What the picker protects: the folders made, not the one that was there.
    EXPECT_EQ(created, (std::vector<std::string>{"D:\\new\\deeper", "D:\\new\\deeper\\deepest"}));
    for (const std::string& folder : created)
        EXPECT_EQ(files.CreatedWithSecurity(folder), "O:BAD:P(A;OICI;FA;;;BA)") << folder;
    EXPECT_EQ(files.CreatedWithSecurity("D:\\new"), std::nullopt);
    ASSERT_EQ(prompts.Count(), 1u);
    const auto& asked = prompts.Records()[0];
    EXPECT_EQ(asked.text,
              "The folder:\n\nD:\\new\\deeper\\deepest\n\ndoes not exist. Do you want the folder "
              "to be created?");
    EXPECT_EQ(asked.caption, kCaption);
    EXPECT_EQ(asked.type, vk::kMbYesNo | vk::kMbIconQuestion);
    EXPECT_TRUE(files.IsFolder("D:\\new\\deeper\\deepest"));
}

TEST_F(FolderPathRules, NoToTheQuestionCreatesNothingAndSaysNothingMore) {
    prompts.QueueAnswer(vk::kIdNo);
    EXPECT_EQ(MakeSurePathExists(services, "D:\\new", kCaption), kPathDeclined);
    EXPECT_EQ(prompts.Count(), 1u);
    EXPECT_FALSE(files.IsFolder("D:\\new"));
}

TEST_F(FolderPathRules, InvalidPathIsWarnedAboutAndNothingIsCreated) {
    EXPECT_EQ(MakeSurePathExists(services, "D:\\new\\", kCaption), kPathInvalid);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Records()[0].text, "The folder:\n\nD:\\new\\\n\nis invalid. Please reenter.");
    EXPECT_EQ(prompts.Records()[0].type, vk::kMbOk | vk::kMbIconExclamation);
    EXPECT_FALSE(files.IsFolder("D:\\new"));
}

TEST_F(FolderPathRules, FailedCreationIsWarnedAboutAndEarlierLevelsStay) {
    faults.FailOperation("CreateDirectory", 2);  // D:\c is made, D:\c\d is refused
    prompts.QueueAnswer(vk::kIdYes);
    EXPECT_EQ(MakeSurePathExists(services, "D:\\c\\d\\e", kCaption), kPathCannotCreate);
    ASSERT_EQ(prompts.Count(), 2u);
    EXPECT_EQ(prompts.Records()[1].text,
              "The folder:\n\nD:\\c\\d\\e\n\ncan not be created. Please double check.");
    EXPECT_TRUE(files.IsFolder("D:\\c"));
    EXPECT_FALSE(files.IsFolder("D:\\c\\d"));
}

TEST_F(FolderPathRules, MissingDriveRootCannotBeCreated) {
    prompts.QueueAnswer(vk::kIdYes);
    EXPECT_EQ(MakeSurePathExists(services, "Q:\\", kCaption), kPathCannotCreate);
    EXPECT_EQ(prompts.Count(), 2u);
}

}  // namespace

namespace {

// TRUSTEDPATHS would split such a folder into pieces that AutoCAD trusts.
TEST(FolderListSeparator, AnySemicolonIsRefused) {
    EXPECT_TRUE(vk::HoldsListSeparator("C:\\Users\\Public;x"));
    EXPECT_TRUE(vk::HoldsListSeparator(";"));
    // A lead byte that lacks its trail byte does not hide it.
    EXPECT_TRUE(vk::HoldsListSeparator("C:\\\x81;x"));
    EXPECT_FALSE(vk::HoldsListSeparator("C:\\Varnok\\Varnok批打印软件"));
}

}  // namespace
