// Folders the install page refuses before anything is created: an empty box,
// a path the picker's rules call invalid, an install folder too long for the
// paths of its files. The page stays open; its box keeps the text.
#include <gtest/gtest.h>

#include <string>

#include "app/install_context.h"
#include "install/install_texts.h"
#include "res/resource.h"
#include "ui/page3_support.h"

namespace vk::uitest {
namespace {

const std::string kProduct = "\\Varnok批打印软件";

struct Refusal {
    SeenBox box;
    bool pageOpen = false;
    std::string boxText;  // the page's folder box afterwards
    PageRun run;
};

// Types `folder`, presses "安  装" and answers the box with `caption`; the
// page is then cancelled.
Refusal RefuseInstall(const std::string& folder, const std::string& caption) {
    Refusal refusal;
    refusal.run = RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(folder);
        page.control(IDOK).click();
        refusal.box = ReadAndAnswer(caption);
        refusal.pageOpen = page.visible();
        refusal.boxText = page.control(IDC_FOLDER).text();
    });
    return refusal;
}

TEST(InstallPageRefuses, AnEmptyFolderWithTheFrameworksStopMessage) {
    FreshContext context;
    ScratchPaths scratch{"C:\\Varnok"};
    const Refusal refusal = RefuseInstall("", AppName());
    EXPECT_EQ(refusal.box.text, SystemText(E_INVALIDARG));
    EXPECT_EQ(refusal.box.icon, "stop");
    EXPECT_TRUE(refusal.pageOpen);
    EXPECT_EQ(g_strInstallFolder, "");
    EXPECT_FALSE(Exists("C:\\Varnok"));
}

class InstallPageRefusesInvalid : public ::testing::TestWithParam<const char*> {};

TEST_P(InstallPageRefusesInvalid, WithThePickersMessageCreatingNothing) {
    FreshContext context;
    ScratchPaths scratch{"D:\\vk-tools", "vk-relative"};
    const std::string typed = GetParam();
    const Refusal refusal = RefuseInstall(typed, AppName());
    EXPECT_EQ(refusal.box.text, "The folder:\n\n" + typed + "\n\nis invalid. Please reenter.");
    EXPECT_EQ(refusal.box.icon, "exclamation");
    EXPECT_EQ(refusal.box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(refusal.pageOpen);
    EXPECT_EQ(refusal.boxText, typed);
    EXPECT_EQ(refusal.run.nextPage, 0);
    EXPECT_EQ(g_strInstallFolder, typed);
    EXPECT_FALSE(Exists("D:\\vk-tools"));
    EXPECT_FALSE(Exists("vk-relative"));
    EXPECT_FALSE(Exists("D:" + kProduct));
}

INSTANTIATE_TEST_SUITE_P(Folders, InstallPageRefusesInvalid,
                         ::testing::Values("vk-relative\\sub", "D:/vk-tools", "D:\\vk-tools\\\\",
                                           "D:\\\\", "D:\\vk-tools\\abc."));

// A folder that makes an install folder of `bytes` bytes: two levels below
// D:\vk-long, double-byte characters counted as two.
std::string FolderForInstallDir(std::size_t bytes) {
    std::string folder = "D:\\vk-long\\";
    for (int i = 0; i < 50; ++i) {
        folder += "长";
    }
    folder += '\\';
    for (int i = 0; i < 50; ++i) {
        folder += "路";
    }
    folder.append(bytes - kProduct.size() - folder.size(), 'x');
    return folder;
}

// Without Data beside the program the module names set the limit: 238 bytes.
// A text too long for any path (260 bytes typed) is too long all the same.
TEST(InstallPageRefuses, AnInstallFolderLongerThanItsFilesAllow) {
    for (const std::size_t bytes : {std::size_t{239}, 260 + kProduct.size()}) {
        FreshContext context;
        ScratchPaths scratch{"D:\\vk-long"};
        const std::string typed = FolderForInstallDir(bytes);
        const Refusal refusal = RefuseInstall(typed, kSetupCaption);
        EXPECT_EQ(refusal.box.text,
                  "安装路径太长 !\n\n安装文件夹（含“\\Varnok批打印软件”）\n最多只能有 238 "
                  "个字节，\n\n请选择较短的路径 !");
        EXPECT_EQ(refusal.box.icon, "exclamation");
        EXPECT_TRUE(refusal.pageOpen);
        EXPECT_EQ(refusal.boxText, typed);
        EXPECT_FALSE(Exists("D:\\vk-long"));
    }
}

TEST(InstallPageRefuses, AFolderAndBackThenKeepsItAsTyped) {
    FreshContext context;
    const std::string typed = "D:\\vk-tools\\\\";
    const PageRun run = RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(typed);
        page.control(IDOK).click();
        ReadAndAnswer(AppName());
        page.control(IDC_BACK).click();
        WaitUntilClosed(page);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.nextPage, 2);
    EXPECT_EQ(g_strInstallFolder, typed);
}

}  // namespace
}  // namespace vk::uitest
