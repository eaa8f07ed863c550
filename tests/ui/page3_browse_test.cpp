// "浏览..." on the install page: the picker starts at the folder in the box,
// belongs to the page, and what it accepts replaces the box's text.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "ui/page3_support.h"
#include "ui/picker/browse_ids.h"

namespace vk::uitest {
namespace {

TEST(InstallPageBrowse, StartsAtTheTypedFolderAndTakesTheAcceptedOne) {
    FreshContext context;
    ScratchPaths scratch{"D:\\vk-browse"};
    const std::string chosen = "D:\\vk-browse\\装";
    std::string title, startedAt, boxAfter;
    bool ownedByPage = false;
    RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText("C:\\windows");
        page.control(IDC_BROWSE).click();
        const e2e::Window picker = WaitForWindow(PickerQuery());
        ownedByPage = ::GetWindow(picker.hwnd(), GW_OWNER) == page.hwnd();
        title = picker.control(kBrowseTitleId).text();
        startedAt = picker.control(kBrowseEditId).text();
        picker.control(kBrowseEditId).setText(chosen);
        picker.control(IDOK).click();
        ReadAndAnswer(AppName(), IDYES);
        WaitUntilClosed(picker);
        boxAfter = page.control(IDC_FOLDER).text();
    });
    EXPECT_TRUE(ownedByPage);
    EXPECT_EQ(title, "请选择安装目录：");
    EXPECT_EQ(startedAt, "C:\\windows");
    EXPECT_EQ(boxAfter, chosen);
    EXPECT_TRUE(IsFolder(chosen));
}

TEST(InstallPageBrowse, CancelledLeavesTheBoxAsItWas) {
    FreshContext context;
    const std::string typed = "D:\\vk-nowhere\\sub";
    std::string boxAfter;
    RunPage([&](const e2e::Window& page) {
        page.control(IDC_FOLDER).setText(typed);
        page.control(IDC_BROWSE).click();
        const e2e::Window picker = WaitForWindow(PickerQuery());
        picker.control(IDCANCEL).click();
        WaitUntilClosed(picker);
        boxAfter = page.control(IDC_FOLDER).text();
    });
    EXPECT_EQ(boxAfter, typed);
    EXPECT_FALSE(Exists("D:\\vk-nowhere"));
}

}  // namespace
}  // namespace vk::uitest
