// The copy-failure prompt: Abort, Retry once the cause is gone, Ignore, and
// paths too long for the file system.
#include <gtest/gtest.h>

#include "engine/deploy.h"
#include "engine/install_texts.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

class DeployCopyFailure : public InstallFixture {
protected:
    DeployCopyFailure() {
        AddDataFile("a.txt", "new a");
        AddDataFile("b.txt", "new b");
        AddDataFile("c.txt", "new c");
        files.AddFile(kInstallDir + "\\b.txt", "old b");
        files.Lock(kInstallDir + "\\b.txt");  // AutoCAD holds it open
    }
    bool Run() { return DeployProgramFiles(services, DeployTarget{kInstallDir, &progress}); }
};

TEST_F(DeployCopyFailure, PromptNamesTheDestination) {
    prompts.QueueAnswer(kIdIgnore);
    Run();
    ASSERT_EQ(prompts.Count(), 1u);
    const memory::PromptRecord& box = prompts.Records()[0];
    EXPECT_EQ(box.owner, prompts.MainWindow());
    EXPECT_EQ(
        box.text,
        "拷贝文件 C:\\Varnok\\Varnok批打印软件\\b.txt "
        "失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统");
    EXPECT_EQ(box.caption, "Varnok软件安装");
    EXPECT_EQ(box.type, kMbAbortRetryIgnore);
}

TEST_F(DeployCopyFailure, AbortStopsAtOnceAndFails) {
    prompts.QueueAnswer(kIdAbort);
    EXPECT_FALSE(Run());
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\a.txt"), "new a");  // copied before stays
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\b.txt"), "old b");
    EXPECT_FALSE(files.IsFile(kInstallDir + "\\c.txt"));
    EXPECT_EQ(progress.steps, 4);  // ".", "..", a.txt; not b.txt's
    ExpectNothingLeftOpen();
}

TEST_F(DeployCopyFailure, RetryCopiesOnceTheFileIsReleased) {
    int asked = 0;
    prompts.SetResponder([&](const memory::PromptRecord&) {
        if (++asked == 2)
            files.Unlock(kInstallDir + "\\b.txt");  // AutoCAD closed meanwhile
        return kIdRetry;
    });
    EXPECT_TRUE(Run());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\b.txt"), "new b");
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\c.txt"), "new c");
    EXPECT_EQ(progress.steps, 6);
}

TEST_F(DeployCopyFailure, RetryClearsAReadOnlyFlagThatCouldNotBeClearedBefore) {
    files.Unlock(kInstallDir + "\\b.txt");
    files.AddFile(kInstallDir + "\\b.txt", "old b", kAttrReadOnly);
    faults.FailOperation("SetFileAttributes", 1);
    prompts.QueueAnswer(kIdRetry);
    EXPECT_TRUE(Run());
    EXPECT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\b.txt"), "new b");
}

TEST_F(DeployCopyFailure, IgnoreLeavesTheOldFileAndGoesOn) {
    prompts.QueueAnswer(kIdIgnore);
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\b.txt"), "old b");
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\c.txt"), "new c");
    EXPECT_EQ(progress.steps, 6);
}

TEST_F(DeployCopyFailure, MissingInstallFolderFailsEveryCopy) {
    files.Unlock(kInstallDir + "\\b.txt");
    files.Remove("C:\\Varnok");  // its parent is gone, so it cannot be created either
    prompts.SetResponder([](const memory::PromptRecord&) { return kIdIgnore; });
    EXPECT_TRUE(Run());
    EXPECT_EQ(prompts.Count(), 3u);
}

TEST_F(DeployCopyFailure, APathTooLongForTheFileSystemIsAFailedCopy) {
    files.Unlock(kInstallDir + "\\b.txt");
    // 247 bytes: "\~Varnok.tmp", the name each copy is first written under, still fits.
    const std::string deep = "C:\\" + std::string(244, 'd');
    files.AddFolder(deep);
    prompts.SetResponder([](const memory::PromptRecord&) { return kIdIgnore; });
    EXPECT_TRUE(DeployProgramFiles(services, DeployTarget{deep, nullptr}));
    EXPECT_EQ(files.List(deep), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    AddDataFile("long_name.txt");  // 247 + 14 bytes
    prompts.SetResponder([](const memory::PromptRecord&) { return kIdAbort; });
    EXPECT_FALSE(DeployProgramFiles(services, DeployTarget{deep, nullptr}));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Records()[0].text, CopyFailedText(deep + "\\long_name.txt"));
}

}  // namespace
}  // namespace vk::test

namespace vk::test {
namespace {

// A box that cannot be shown answers 0; with nobody to ask, the installation
// stops as on Abort instead of retrying for ever.
TEST_F(DeployCopyFailure, PromptThatCannotBeShownStopsLikeAbort) {
    AddDataFile("a.txt");
    files.Lock(kDataFolder + "\\a.txt");
    faults.FailOperation("MessageBox");
    EXPECT_FALSE(DeployProgramFiles(services, DeployTarget{kInstallDir, nullptr}));
    EXPECT_EQ(Calls("MessageBox"), 1u);
}

}  // namespace
}  // namespace vk::test
