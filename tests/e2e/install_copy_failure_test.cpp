// A file of the install folder that cannot be replaced (held open by another program): the
// user's answers to the copy-failure box decide. Abort ends the wizard before anything is
// registered; Retry copies again, Ignore leaves the file as it was and the installation goes on.
#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/unique_handle.h"
#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kReadMe = "ReadMe.txt";
constexpr const char* kGuide = "使用说明.txt";

std::string copyFailedText(const std::string& destination) {
    return "拷贝文件 " + destination +
           " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
}

class CopyFailure : public InstallRun {
protected:
    void SetUp() override {
        seedMachine(kMachine2018, {kAcad2018Folder});
        folders.make(kDefaultProductFolder);
        writeFile(installed(kReadMe), "an old read-me");
        writeFile(installed(kGuide), "an old guide");
    }

    static std::string installed(const std::string& name) {
        return joinPath(kDefaultProductFolder, name);
    }

    // Open with no sharing, as a program that keeps the file to itself.
    static UniqueHandle hold(const std::string& path) {
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw DriverError(withLastError("could not hold \"" + toUtf8(path) + "\""));
        return file;
    }
};

TEST_F(CopyFailure, AbortEndsTheWizardWithNothingRegistered) {
    const MachineState before = MachineState::capture();
    UniqueHandle held = hold(installed(kReadMe));

    AppProcess app = start();
    const Window box = installForBox(app, goToPage3(app), kMessageCaption);
    EXPECT_EQ(toUtf8(box.messageText()), toUtf8(copyFailedText(installed(kReadMe))));
    box.answer(IDABORT);
    // What was done is taken back, and the user is told so.
    app.waitUntilClosed(box);
    const Window rolledBack = app.waitForMessageBox(kMessageCaption);
    EXPECT_EQ(toUtf8(rolledBack.messageText()),
              toUtf8("安装已中止。\n\n本次安装所做的更改已经撤销。"));
    rolledBack.answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 5u) << "aborted at a copy failure";

    EXPECT_TRUE(demandLoadKeys().empty());
    const MachineState after = MachineState::capture();
    EXPECT_EQ(after.machineKeys.describe(), before.machineKeys.describe());
    EXPECT_EQ(after.wowKeys.describe(), before.wowKeys.describe());
    EXPECT_EQ(after.userKeys.describe(), before.userKeys.describe());
    EXPECT_TRUE(listFolder(joinPath(kAcad2018Folder, "Fonts")).empty());
    held.reset();
    EXPECT_EQ(readFile(installed(kReadMe)).value_or("?"), "an old read-me");
}

TEST_F(CopyFailure, RetryCopiesOnceTheFileIsFreeAndIgnoreLeavesItAsItWas) {
    UniqueHandle readMe = hold(installed(kReadMe));
    UniqueHandle guide = hold(installed(kGuide));

    AppProcess app = start();
    goToPage3(app).control(IDOK).click();
    // The boxes come in the order the Data folder is listed; each is answered by its file.
    int readMeBoxes = 0;
    int guideBoxes = 0;
    while (readMeBoxes < 2 || guideBoxes < 1) {
        const Window box = app.waitForMessageBox(kMessageCaption);
        const std::string text = box.messageText();
        if (text == copyFailedText(installed(kReadMe))) {
            // The first retry meets the file still held and asks again.
            if (++readMeBoxes == 2)
                readMe.reset();
            box.answer(IDRETRY);
        } else {
            ASSERT_EQ(toUtf8(text), toUtf8(copyFailedText(installed(kGuide))));
            ASSERT_EQ(++guideBoxes, 1) << "Ignore asked again";
            box.answer(IDIGNORE);
        }
        app.waitUntilClosed(box);
    }
    app.waitForWindow(page4()).control(IDOK).click();
    EXPECT_EQ(app.waitForExit(), 4u) << "installed, but a copy was ignored";
    guide.reset();

    EXPECT_EQ(readFile(installed(kReadMe)).value_or("?"), readFile(dataFile(kReadMe)).value_or(""));
    EXPECT_EQ(readFile(installed(kGuide)).value_or("?"), "an old guide");
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
    EXPECT_TRUE(
        trustedPathsOf(kAcad2018Variables).ends_with(toUtf8(";C:\\VARNOK\\VARNOK批打印软件")));
    expectSupportFiles(kAcad2018Folder, distribution.dataFolder(), false);
}

}  // namespace
}  // namespace vk::e2e::setup
