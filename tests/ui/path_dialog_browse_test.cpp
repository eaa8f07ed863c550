// The folder picker on the real shell browser under Wine: the edit box it
// adds, what the tree's selection puts into it, and what OK accepts, creates
// or refuses.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "engine/install_texts.h"
#include "ui/page3_support.h"
#include "ui/picker/browse_ids.h"
#include "ui/picker/path_dialog.h"

namespace vk::uitest {
namespace {

const std::string kCaption = "选择文件夹";
const std::string kTitle = "请选择一个文件夹：";

// Runs a picker with `initialPath` (null: none) while `person` works it.
struct PickerRun {
    int result = 0;
    std::string pathName;
};
PickerRun RunPicker(const char* initialPath,
                    const std::function<void(const e2e::Window&)>& person) {
    PickerRun run;
    RunWithPerson(
        [&] {
            CPathDialog picker(kCaption.c_str(), kTitle.c_str(), initialPath, nullptr);
            run.result = picker.DoModal();
            run.pathName = picker.GetPathName();
        },
        [&] { person(WaitForWindow(PickerQuery(kCaption))); });
    return run;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

void Cancel(const e2e::Window& picker) {
    picker.control(IDCANCEL).click();
    WaitUntilClosed(picker);
}

// Whether the box shows the initial folder is checked on the real SetUp.exe
// (e2e picker test): here, under Wine on a busy machine, the tree sometimes
// reports its own first selection after ours and the box is read empty.
TEST(PathDialog, OpensWithItsBoxAboveTheTree) {
    const std::string initial = "C:\\vk-picker\\初始";
    ScratchPaths scratch{"C:\\vk-picker"};
    ASSERT_TRUE(::CreateDirectoryA("C:\\vk-picker", nullptr));
    ASSERT_TRUE(::CreateDirectoryA(initial.c_str(), nullptr));
    RECT tree{}, box{};
    HFONT windowFont = nullptr, boxFont = nullptr;
    std::string title;
    bool statusVisible = true;
    const PickerRun run = RunPicker(initial.c_str(), [&](const e2e::Window& picker) {
        const e2e::Control edit = picker.control(kBrowseEditId);
        title = picker.control(kBrowseTitleId).text();
        statusVisible = picker.control(kBrowseStatusId).visible();
        tree = ScreenRect(picker.control(kBrowseTreeId).hwnd());
        box = ScreenRect(edit.hwnd());
        windowFont = reinterpret_cast<HFONT>(::SendMessageA(picker.hwnd(), WM_GETFONT, 0, 0));
        boxFont = reinterpret_cast<HFONT>(::SendMessageA(edit.hwnd(), WM_GETFONT, 0, 0));
        Cancel(picker);
    });
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(title, kTitle);
    EXPECT_FALSE(statusVisible);
    EXPECT_EQ(box.left, tree.left);
    EXPECT_EQ(box.right, tree.right);
    EXPECT_EQ(box.bottom, tree.top - 4);
    EXPECT_EQ(box.bottom - box.top, 23);
    EXPECT_NE(boxFont, nullptr);
    EXPECT_EQ(boxFont, windowFont);
}

TEST(PathDialog, WithoutAnInitialFolderOpensOnTheCurrentFolder) {
    ScratchPaths scratch{"C:\\vk-picker-cwd"};
    ASSERT_TRUE(::CreateDirectoryA("C:\\vk-picker-cwd", nullptr));
    char previous[MAX_PATH] = {};
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\vk-picker-cwd"));
    std::string boxText;
    RunPicker(nullptr, [&](const e2e::Window& picker) {
        boxText = picker.control(kBrowseEditId).text();
        Cancel(picker);
    });
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(boxText, "C:\\vk-picker-cwd");
}

TEST(PathDialog, AnExistingFolderIsAcceptedWithoutAQuestion) {
    const PickerRun run = RunPicker("C:\\", [](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText("c:\\windows");
        picker.control(IDOK).click();
        WaitUntilClosed(picker);  // a message box would have kept it open
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.pathName, "c:\\windows");
}

TEST(PathDialog, AMissingFolderIsCreatedWithItsParentsOnYes) {
    const std::string typed = "D:\\vk-picker\\新建\\deeper";
    ScratchPaths scratch{"D:\\vk-picker"};
    SeenBox question;
    const PickerRun run = RunPicker("C:\\", [&](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText(typed);
        picker.control(IDOK).click();
        question = ReadAndAnswer(AppName(), IDYES);
        WaitUntilClosed(picker);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.pathName, typed);
    EXPECT_TRUE(IsFolder(typed));
    EXPECT_EQ(question.text, "The folder:\n\n" + typed +
                                 "\n\ndoes not exist. Do you want the folder to be created?");
    EXPECT_EQ(question.icon, "question");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
}

TEST(PathDialog, DecliningToCreateKeepsTheBrowserOpenAndCreatesNothing) {
    ScratchPaths scratch{"D:\\vk-picker"};
    bool openAfterNo = false;
    const PickerRun run = RunPicker("C:\\", [&](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText("D:\\vk-picker\\no");
        picker.control(IDOK).click();
        ReadAndAnswer(AppName(), IDNO);
        openAfterNo = picker.visible() && picker.enabled();
        Cancel(picker);
    });
    EXPECT_EQ(run.result, -1);
    EXPECT_TRUE(openAfterNo);
    EXPECT_FALSE(Exists("D:\\vk-picker"));
}

TEST(PathDialog, AnInvalidFolderIsRefusedWithTheFocusBackInTheBox) {
    SeenBox refusal;
    bool openAfterwards = false, focusInBox = false;
    const PickerRun run = RunPicker("C:\\", [&](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText("C:\\Temp\\");
        picker.control(IDOK).click();
        refusal = ReadAndAnswer(AppName());
        openAfterwards = picker.visible();
        WaitUntil([&] { return FocusedControl() == picker.control(kBrowseEditId).hwnd(); },
                  "the focus in the box");
        focusInBox = true;
        Cancel(picker);
    });
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(refusal.text, "The folder:\n\nC:\\Temp\\\n\nis invalid. Please reenter.");
    EXPECT_EQ(refusal.icon, "exclamation");
    EXPECT_EQ(refusal.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(openAfterwards);
    EXPECT_TRUE(focusInBox);
}

// AutoCAD would trust such a folder's pieces.
TEST(PathDialog, AFolderWithASemicolonIsRefusedCreatingNothing) {
    const std::string typed = "D:\\vk-picker;x\\new";
    ScratchPaths scratch{"D:\\vk-picker;x", "D:\\vk-picker"};
    SeenBox refusal;
    const PickerRun run = RunPicker("C:\\", [&](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText(typed);
        picker.control(IDOK).click();
        refusal = ReadAndAnswer(AppName());
        Cancel(picker);
    });
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(refusal.text, kListSeparatorText);
    EXPECT_EQ(refusal.icon, "exclamation");
    EXPECT_FALSE(Exists("D:\\vk-picker;x"));
}

TEST(PathDialog, ATextLongerThanAPathIsRefusedWholeNeverCutShort) {
    // Cut to 259 bytes it would be a valid folder.
    const std::string typed = "D:\\vk-picker\\" + std::string(300, 'a');
    ScratchPaths scratch{"D:\\vk-picker"};
    SeenBox refusal;
    const PickerRun run = RunPicker("C:\\", [&](const e2e::Window& picker) {
        picker.control(kBrowseEditId).setText(typed);
        picker.control(IDOK).click();
        refusal = ReadAndAnswer(AppName());
        Cancel(picker);
    });
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(refusal.text, "The folder:\n\n" + typed + "\n\nis invalid. Please reenter.");
    EXPECT_FALSE(Exists("D:\\vk-picker"));
}

TEST(PathDialog, OkFollowsTheBoxAndAVirtualItemEmptiesIt) {
    bool enabledAtStart = false, enabledWhenEmptied = true, enabledWhenTyped = false;
    bool enabledOnVirtualItem = true;
    std::string boxOnVirtualItem = "?";
    RunPicker("C:\\", [&](const e2e::Window& picker) {
        const e2e::Control ok = picker.control(IDOK);
        const e2e::Control edit = picker.control(kBrowseEditId);
        enabledAtStart = ok.enabled();
        edit.setText("");
        enabledWhenEmptied = ok.enabled();
        edit.setText("x");
        enabledWhenTyped = ok.enabled();
        // "My Computer" has no file-system path.
        LPITEMIDLIST computer = nullptr;
        if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
            ::SendMessageA(picker.hwnd(), BFFM_SETSELECTIONA, FALSE,
                           reinterpret_cast<LPARAM>(computer));
            ::CoTaskMemFree(computer);
        }
        boxOnVirtualItem = edit.text();
        enabledOnVirtualItem = ok.enabled();
        Cancel(picker);
    });
    EXPECT_TRUE(enabledAtStart);
    EXPECT_FALSE(enabledWhenEmptied);
    EXPECT_TRUE(enabledWhenTyped);
    EXPECT_EQ(boxOnVirtualItem, "");
    EXPECT_FALSE(enabledOnVirtualItem);
}

}  // namespace
}  // namespace vk::uitest
