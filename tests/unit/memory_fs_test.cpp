#include "platform/memory/memory_file_system.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"

namespace vk::memory {
namespace {

// Every name a listing of `pattern` gives, in order; the handle is closed.
std::vector<std::string> ListAll(MemoryFileSystem& fs, const std::string& pattern) {
    std::vector<std::string> names;
    FindHandle handle = kNoFind;
    FindEntry entry;
    if (fs.FindFirst(pattern, handle, entry) != kOk)
        return names;
    do {
        names.push_back(entry.name);
    } while (fs.FindNext(handle, entry) == kOk);
    fs.FindClose(handle);
    return names;
}

TEST(MemoryFs, NamesCompareWithoutCaseAndKeepTheirSpelling) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\Data\\Varnok.Ini", "x");
    EXPECT_EQ(fs.ReadFile("c:\\DATA\\varnok.ini"), "x");
    EXPECT_EQ(ListAll(fs, "C:\\data\\VARNOK.INI"), std::vector<std::string>{"Varnok.Ini"});
    // Full-width "ａ" and "Ａ" are one name; the trail byte 0x5C of "乗" is no separator.
    fs.AddFolder("C:\\\xA3\xE1\x81\x5C");
    EXPECT_TRUE(fs.IsFolder("C:\\\xA3\xC1\x81\x5C"));
    EXPECT_EQ(fs.CreateFolder("C:\\\xA3\xC1\x81\x5C"), kErrAlreadyExists);
}

TEST(MemoryFs, FoldersNeedTheirParentAndDrive) {
    MemoryFileSystem fs;
    EXPECT_EQ(fs.CreateFolder("C:\\A\\B"), kErrPathNotFound);
    EXPECT_EQ(fs.CreateFolder("C:\\A"), kOk);
    EXPECT_EQ(fs.CreateFolder("C:\\A\\"), kErrAlreadyExists);
    EXPECT_EQ(fs.CreateFolder("C:\\A\\B"), kOk);
    EXPECT_EQ(fs.CreateFolder("D:\\A"), kErrPathNotFound);
    fs.AddDrive('d');
    EXPECT_EQ(fs.CreateFolder("D:\\A"), kOk);
    fs.AddFile("C:\\f");
    EXPECT_EQ(fs.CreateFolder("C:\\f"), kErrAlreadyExists);
    EXPECT_EQ(fs.CreateFolder("C:\\f\\sub"), kErrPathNotFound);
    EXPECT_EQ(fs.GetAttributes("C:\\A\\B"), kAttrDirectory);
}

TEST(MemoryFs, RelativePathsResolveAgainstTheCurrentFolder) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Work");
    fs.SetCurrentFolder("C:\\Work");
    EXPECT_EQ(fs.CreateFolder("\\Varnok"), kOk);  // the root of the current drive
    EXPECT_EQ(fs.CreateFolder("sub"), kOk);
    EXPECT_TRUE(fs.IsFolder("C:\\Varnok"));
    EXPECT_TRUE(fs.IsFolder("C:\\Work\\sub"));
    EXPECT_EQ(fs.CreateFolder("C:\\Work\\..\\Work\\.\\sub2"), kOk);
    EXPECT_TRUE(fs.IsFolder("C:\\Work\\sub2"));
}

TEST(MemoryFs, CopyOverwritesButRefusesReadOnlyFoldersAndLocks) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\s", "new");
    fs.AddFile("C:\\d", "old");
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\d"), kOk);
    EXPECT_EQ(fs.ReadFile("C:\\d"), "new");

    fs.AddFile("C:\\ro", "old", kAttrReadOnly);
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\ro"), kErrAccessDenied);
    EXPECT_EQ(fs.ReadFile("C:\\ro"), "old");

    fs.AddFolder("C:\\dir");
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\dir"), kErrAccessDenied);
    EXPECT_EQ(fs.CopyFile("C:\\dir", "C:\\x"), kErrAccessDenied);
    EXPECT_EQ(fs.CopyFile("C:\\missing", "C:\\x"), kErrFileNotFound);
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\nofolder\\x"), kErrPathNotFound);
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\S"), kErrSharingViolation);

    fs.Lock("C:\\d");
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\d"), kErrSharingViolation);
    EXPECT_EQ(fs.CopyFile("C:\\d", "C:\\e"), kErrSharingViolation);
    fs.Unlock("C:\\D");
    EXPECT_EQ(fs.CopyFile("C:\\d", "C:\\e"), kOk);
}

TEST(MemoryFs, CopyCarriesTheSourceAttributes) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\s", "x", kAttrReadOnly | kAttrHidden);
    ASSERT_EQ(fs.CopyFile("C:\\s", "C:\\d"), kOk);
    EXPECT_EQ(fs.AttributesOf("C:\\d"), kAttrReadOnly | kAttrHidden | kAttrArchive);
    EXPECT_EQ(fs.SetAttributes("C:\\d", 0), kOk);
    EXPECT_EQ(fs.GetAttributes("C:\\d"), kAttrNormal);
    EXPECT_EQ(fs.SetAttributes("C:\\nothing", 0), kErrFileNotFound);
    EXPECT_EQ(fs.GetAttributes("C:\\nothing"), kInvalidAttributes);
}

TEST(MemoryFs, ListingGivesDotsFirstThenSortedEntries) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\Data\\b.txt");
    fs.AddFile("C:\\Data\\A.txt");
    fs.AddFolder("C:\\Data\\Sub", kAttrDirectory | kAttrHidden);
    EXPECT_EQ(ListAll(fs, "C:\\Data\\*.*"),
              (std::vector<std::string>{".", "..", "A.txt", "b.txt", "Sub"}));
    EXPECT_EQ(ListAll(fs, "C:\\Data\\*.TXT"), (std::vector<std::string>{"A.txt", "b.txt"}));
    EXPECT_EQ(ListAll(fs, "C:\\*"), std::vector<std::string>{"Data"});  // no dots at a root

    FindHandle handle = kNoFind;
    FindEntry entry;
    EXPECT_EQ(fs.FindFirst("C:\\Data\\Sub", handle, entry), kOk);
    EXPECT_EQ(entry.attributes, kAttrDirectory | kAttrHidden);
    EXPECT_EQ(fs.FindNext(handle, entry), kErrNoMoreFiles);
    EXPECT_EQ(fs.OpenFindCount(), 1u);
    EXPECT_EQ(fs.FindClose(handle), kOk);
    EXPECT_EQ(fs.OpenFindCount(), 0u);

    EXPECT_EQ(fs.FindFirst("C:\\Nothing\\*.*", handle, entry), kErrPathNotFound);
    EXPECT_EQ(handle, kNoFind);
    EXPECT_EQ(fs.FindFirst("C:\\Data\\none", handle, entry), kErrFileNotFound);
    EXPECT_EQ(fs.FindFirst("C:\\Data\\", handle, entry), kErrFileNotFound);
    EXPECT_EQ(fs.OpenFindCount(), 0u);
}

TEST(MemoryFs, PathsOver259BytesAreRefused) {
    MemoryFileSystem fs;
    const std::string fits = "C:\\" + std::string(256, 'a');  // 259 bytes
    EXPECT_EQ(fs.CreateFolder(fits), kOk);
    fs.AddFile(fits + "\\f");  // seeding is not limited
    FindHandle handle = kNoFind;
    FindEntry entry;
    EXPECT_EQ(fs.FindFirst(fits + "\\*", handle, entry), kErrFilenameTooLong);
    EXPECT_EQ(fs.CopyFile(fits + "\\f", "C:\\f"), kErrFilenameTooLong);
    EXPECT_EQ(fs.CreateFolder(fits + "b"), kErrFilenameTooLong);
    EXPECT_EQ(fs.GetAttributes(fits + "\\f"), kInvalidAttributes);
}

TEST(MemoryFs, EnvironmentAndShellFolders) {
    MemoryFileSystem fs;
    std::string value;
    EXPECT_EQ(fs.GetEnvironmentVariable("APPDATA", value), kErrFileNotFound);
    fs.SetEnvironmentVariable("AppData", "C:\\R");
    EXPECT_EQ(fs.GetEnvironmentVariable("APPDATA", value), kOk);
    EXPECT_EQ(value, "C:\\R");
    fs.SetRoamingAppDataFolder("");
    EXPECT_NE(fs.GetRoamingAppDataFolder(value), kOk);
    fs.SetModulePath("D:\\dist\\SetUp.exe");
    EXPECT_EQ(fs.GetModulePath(value), kOk);
    EXPECT_EQ(value, "D:\\dist\\SetUp.exe");
}

TEST(MemoryServices, FailWhatTheInjectorNames) {
    FaultInjector faults;
    MemoryFileSystem fs(&faults);
    MemoryPrompts prompts(&faults);
    MemoryProcessList processes(&faults);
    fs.AddFile("C:\\s");
    faults.FailOperation("CopyFile", 1);
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\d"), kErrInjected);
    EXPECT_EQ(fs.CopyFile("C:\\s", "C:\\d"), kOk);

    faults.FailOperation("CreateToolhelp32Snapshot");
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(processes.ListExecutableNames(names), kErrInjected);
    EXPECT_TRUE(names.empty());

    faults.FailOperation("MessageBox");
    EXPECT_EQ(prompts.MessageBox(0, "t", "c", kMbOk), 0);
    EXPECT_EQ(prompts.Count(), 0u);

    // Closing a find handle is neither counted nor failed.
    FindHandle handle = kNoFind;
    FindEntry entry;
    ASSERT_EQ(fs.FindFirst("C:\\*", handle, entry), kOk);
    const std::size_t counted = faults.OperationCount();
    faults.FailNth(counted + 1);
    EXPECT_EQ(fs.FindClose(handle), kOk);
    EXPECT_EQ(faults.OperationCount(), counted);
}

TEST(MemoryPrompts, QueueThenResponderThenDefaultButton) {
    MemoryPrompts prompts;
    prompts.SetMainWindow(42);
    prompts.QueueAnswer(kIdIgnore);
    EXPECT_EQ(prompts.MessageBox(prompts.MainWindow(), "a", "c", kMbAbortRetryIgnore), kIdIgnore);
    EXPECT_EQ(prompts.MessageBox(0, "b", "c", kMbAbortRetryIgnore), kIdAbort);
    EXPECT_EQ(prompts.MessageBox(0, "b", "c", kMbYesNo | kMbIconQuestion), kIdYes);
    prompts.SetResponder([](const PromptRecord& box) { return box.text == "r" ? kIdRetry : 0; });
    EXPECT_EQ(prompts.MessageBox(0, "r", "c", kMbAbortRetryIgnore), kIdRetry);
    // A responder keeps its own state from box to box.
    prompts.SetResponder([n = 0](const PromptRecord&) mutable { return ++n; });
    EXPECT_EQ(prompts.MessageBox(0, "x", "c", kMbOk), 1);
    EXPECT_EQ(prompts.MessageBox(0, "x", "c", kMbOk), 2);
    ASSERT_EQ(prompts.Count(), 6u);
    EXPECT_EQ(prompts.Records()[0].owner, 42u);
    EXPECT_EQ(prompts.Records()[3].type, kMbAbortRetryIgnore);
}

}  // namespace
}  // namespace vk::memory
