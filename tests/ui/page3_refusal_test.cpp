// Folders the install page refuses before anything is created: an empty box,
// a path the picker's rules call invalid, an install folder too long for the
// paths of its files, a path through a link; and a folder others may change,
// which it warns about. The page stays open; its box keeps the text.
#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/host.h"
#include "engine/install_texts.h"
#include "model/install_context.h"
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
Refusal RefuseInstall(const std::string& folder, const std::string& caption, int answer = IDOK) {
    Refusal refusal;
    refusal.run = RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(folder);
        page.control(IDOK).click();
        refusal.box = ReadAndAnswer(caption, answer);
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

// Wine shows a Unix symbolic link as a folder that is a reparse point.
TEST(InstallPageRefuses, APathThroughALinkCreatingNothing) {
    FreshContext context;
    ScratchPaths scratch{"D:\\vk-target"};
    ASSERT_TRUE(::CreateDirectoryA("D:\\vk-target", nullptr));
    const e2e::HostLink link("D:\\vk-linked", "D:\\vk-target");
    const Refusal refusal = RefuseInstall("D:\\vk-linked\\tools", kSetupCaption);
    EXPECT_EQ(refusal.box.text, LinkOnPathText("D:\\vk-linked"));
    EXPECT_EQ(refusal.box.icon, "exclamation");
    EXPECT_TRUE(refusal.pageOpen);
    EXPECT_EQ(e2e::listFolder("D:\\vk-target"), std::vector<std::string>{});
}

// Wine reads a folder whose Unix mode lets others write as one Everyone may
// modify (DELETE among the rights): the page warns, No being the default.
class InstallPageWarns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryA(kShared, nullptr));
        e2e::runOnHost("chmod o+w " + e2e::shellQuoted(e2e::hostPathOf(kShared)));
    }
    static constexpr const char* kShared = "D:\\vk-shared";
    FreshContext m_context;
    ScratchPaths m_scratch{kShared, AppDataFolder() + "\\Varnok"};
    SampleData m_data;
    // Wine's modify rights: DELETE and FILE_DELETE_CHILD among them, not WRITE_DAC.
    const std::string m_warning =
        ReplaceableFolderText({kShared, false, false, kRightDelete | kRightDeleteChild}) +
        kInstallAnywayQuestion;
};

TEST_F(InstallPageWarns, AboutAFolderOthersMayChangeAndNoKeepsThePage) {
    const Refusal refusal = RefuseInstall(kShared, kSetupCaption, IDNO);
    EXPECT_EQ(refusal.box.text, m_warning);
    EXPECT_EQ(refusal.box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(refusal.box.defaultButton, IDNO);
    EXPECT_EQ(refusal.box.icon, "exclamation");
    EXPECT_TRUE(refusal.pageOpen);
    EXPECT_EQ(e2e::listFolder(kShared), std::vector<std::string>{});
}

TEST_F(InstallPageWarns, AndYesInstallsThere) {
    const PageRun run = RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(kShared);
        page.control(IDOK).click();
        ReadAndAnswer(kSetupCaption, IDYES);
        WaitUntilClosed(page);
    });
    EXPECT_EQ(run.nextPage, 4);
    EXPECT_TRUE(Exists(std::string(kShared) + kProduct + "\\VK_BatchPlot2018.ARX"));
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
