// The driver, tried on a small dialog program of its own: every way of reading, using and
// waiting, and the reports it gives when a wait fails.
#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/driver.h"
#include "e2e/selftest_dialog/selftest_dialog_ids.h"
#include "e2e/selftest_dialog/selftest_texts.h"

namespace vk::e2e {
namespace {

namespace texts = selftest;

// Expected report texts are UTF-8 while plain literals here are GBK.
std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::string dialogProgram() {
    return joinPath(programFolder(), "vk_e2e_selftest_dialog.exe");
}

WindowQuery mainPage() {
    return {"the main page", texts::kCaption, "#32770", {IDC_EDIT, IDC_NEXT}, {}};
}

// The second page has no Cancel button, like the setup's last page.
WindowQuery secondPage() {
    return {"the second page", texts::kCaption, "#32770", {IDC_SECOND_LABEL}, {IDCANCEL}};
}

class DriverSelfTest : public ::testing::Test {
protected:
    AppProcess app = AppProcess::start(dialogProgram());
    Window page = app.waitForWindow(mainPage());
};

TEST_F(DriverSelfTest, ReadsTextsOfAnyLengthAndStates) {
    EXPECT_EQ(page.caption(), texts::kCaption);
    EXPECT_EQ(page.className(), "#32770");
    EXPECT_TRUE(page.visible());
    EXPECT_TRUE(page.enabled());
    EXPECT_EQ(page.control(IDC_LONG).text(), texts::longText());
    EXPECT_GT(texts::longText().size(), 4000u);
    EXPECT_EQ(page.control(IDOK).text(), "确定");
    EXPECT_EQ(page.control(IDC_EDIT).className(), "Edit");
    EXPECT_EQ(page.control(IDC_EDIT).id(), IDC_EDIT);
    EXPECT_FALSE(page.control(IDC_DISABLED).enabled());
    EXPECT_TRUE(page.control(IDC_DISABLED).visible());
    EXPECT_FALSE(page.control(IDC_HIDDEN).visible());
    EXPECT_EQ(page.control(IDC_CHECK).checkState(), BST_UNCHECKED);
    EXPECT_EQ(page.control(IDC_PROGRESS).progressPosition(), texts::kProgressStart);
    EXPECT_TRUE(page.hasControl(IDC_NEXT));
    EXPECT_FALSE(page.hasControl(IDC_SECOND_LABEL));
}

TEST_F(DriverSelfTest, TypedTextReachesTheParentAsEnChange) {
    const std::string path = "D:\\安装\\" + std::string(300, 'x');
    page.control(IDC_EDIT).setText(path);
    app.waitUntil([&] { return page.control(IDC_EDIT_MIRROR).text() == path; },
                  "the edit box's mirror to show the typed text");
    EXPECT_EQ(page.control(IDC_EDIT).text(), path);

    // A multi-line box does not notify WM_SETTEXT itself; the driver makes up for it.
    page.control(IDC_MEMO).setText("第一行\r\n第二行");
    app.waitUntil([&] { return page.control(IDC_MEMO_MIRROR).text() == "第一行\r\n第二行"; },
                  "the memo's mirror to show the typed text");

    page.control(IDC_EDIT).setText("");
    app.waitUntil([&] { return page.control(IDC_EDIT_MIRROR).text().empty(); },
                  "the edit box's mirror to be emptied");
}

TEST_F(DriverSelfTest, ClicksCheckBoxesAndButtons) {
    page.control(IDC_CHECK).click();
    app.waitUntil([&] { return page.control(IDC_CHECK).checked(); }, "the check box checked");
    EXPECT_FALSE(page.control(IDOK).enabled());
    page.control(IDC_CHECK).click();
    app.waitUntil([&] { return page.control(IDC_CHECK).checkState() == BST_UNCHECKED; },
                  "the check box unchecked");
    EXPECT_TRUE(page.control(IDOK).enabled());

    page.control(IDC_STEP).click();
    app.waitUntil(
        [&] {
            return page.control(IDC_PROGRESS).progressPosition() ==
                   texts::kProgressStart + texts::kProgressStep;
        },
        "the progress bar to step");
}

TEST_F(DriverSelfTest, RefusesWhatAPersonCannotDo) {
    EXPECT_THROW(page.control(IDC_DISABLED).click(), DriverError);
    EXPECT_THROW(page.control(IDC_HIDDEN).click(), DriverError);
    EXPECT_THROW(page.control(IDC_RESULT).setText("x"), DriverError);
    EXPECT_THROW(page.control(4242), DriverError);
    EXPECT_TRUE(app.running());
}

TEST_F(DriverSelfTest, EnterActsOnTheDefaultButtonOnlyWhileItIsEnabled) {
    page.control(IDC_CHECK).click();
    app.waitUntil([&] { return !page.control(IDOK).enabled(); }, "OK disabled");
    page.pressEnter();
    // Posted input is handled in order: once the later click has shown its effect, Enter
    // has been handled too, and it must have left the page open.
    page.control(IDC_STEP).click();
    app.waitUntil(
        [&] {
            return page.control(IDC_PROGRESS).progressPosition() ==
                   texts::kProgressStart + texts::kProgressStep;
        },
        "the progress bar to step after Enter");
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(page.visible());

    page.control(IDC_CHECK).click();
    app.waitUntil([&] { return page.control(IDOK).enabled(); }, "OK enabled");
    page.pressEnter();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_MAIN_OK));
}

TEST_F(DriverSelfTest, EscapeCancels) {
    page.pressEscape();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_MAIN_CANCEL));
}

TEST_F(DriverSelfTest, TheCloseBoxCancels) {
    page.clickCloseBox();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_MAIN_CANCEL));
}

TEST_F(DriverSelfTest, CancelButtonEnds) {
    page.control(IDCANCEL).click();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_MAIN_CANCEL));
    EXPECT_EQ(app.exitCode(), static_cast<DWORD>(EXIT_MAIN_CANCEL));
    EXPECT_FALSE(app.running());
}

struct Answer {
    int opener;
    int button;
};

TEST_F(DriverSelfTest, MessageBoxesAreFoundReadAndAnsweredByEveryButton) {
    const Answer answers[] = {{IDC_ASK, IDYES},     {IDC_ASK, IDNO},      {IDC_ASK, IDCANCEL},
                              {IDC_RETRY, IDABORT}, {IDC_RETRY, IDRETRY}, {IDC_RETRY, IDIGNORE},
                              {IDC_NOTE, IDOK}};
    for (const Answer& answer : answers) {
        SCOPED_TRACE("button " + std::to_string(answer.button));
        page.control(answer.opener).click();
        const Window box = app.waitForMessageBox(texts::kMessageCaption);
        EXPECT_NE(box.hwnd(), page.hwnd());
        if (answer.opener == IDC_ASK) {
            EXPECT_EQ(box.messageText(), texts::questionText());
        }
        // The page behind a modal box takes no clicks or keys.
        EXPECT_FALSE(page.enabled());
        EXPECT_THROW(page.control(IDC_STEP).click(), DriverError);
        EXPECT_THROW(page.pressEnter(), DriverError);
        box.answer(answer.button);
        app.waitUntilClosed(box);
        app.waitUntil(
            [&] { return page.control(IDC_RESULT).text() == std::to_string(answer.button); },
            "the answer to be reported");
    }
}

TEST_F(DriverSelfTest, AnswersOnlyWithButtonsTheBoxShows) {
    page.control(IDC_NOTE).click();
    const Window box = app.waitForMessageBox(texts::kMessageCaption);
    EXPECT_EQ(box.messageText(), "完成");
    EXPECT_THROW(box.answer(IDYES), DriverError);
    box.pressEnter();
    app.waitUntilClosed(box);
    app.waitUntil([&] { return page.control(IDC_RESULT).text() == std::to_string(IDOK); },
                  "Enter to answer OK");
}

TEST_F(DriverSelfTest, PagesOfOneCaptionAreToldApartByTheirControls) {
    page.control(IDC_NEXT).click();
    const Window second = app.waitForWindow(secondPage());
    EXPECT_FALSE(findWindow(app.id(), mainPage()).has_value());
    EXPECT_EQ(second.control(IDC_SECOND_LABEL).text(), "第二页");

    second.control(IDC_BACK).click();
    const Window again = app.waitForWindow(mainPage());
    EXPECT_FALSE(findWindow(app.id(), secondPage()).has_value());

    again.control(IDC_NEXT).click();
    const Window last = app.waitForWindow(secondPage());
    last.control(IDOK).click();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_SECOND_OK));
}

TEST_F(DriverSelfTest, EscapeAndTheCloseBoxWorkWithoutACancelButton) {
    page.control(IDC_NEXT).click();
    app.waitForWindow(secondPage()).pressEscape();
    EXPECT_EQ(app.waitForExit(), static_cast<DWORD>(EXIT_SECOND_CANCEL));

    AppProcess other = AppProcess::start(dialogProgram());
    other.waitForWindow(mainPage()).control(IDC_NEXT).click();
    other.waitForWindow(secondPage()).clickCloseBox();
    EXPECT_EQ(other.waitForExit(), static_cast<DWORD>(EXIT_SECOND_CANCEL));
}

TEST_F(DriverSelfTest, AFailedWaitReportsWhatWasOnScreen) {
    page.control(IDC_CHECK).click();
    app.waitUntil([&] { return page.control(IDC_CHECK).checked(); }, "the check box checked");
    WindowQuery missing = mainPage();
    missing.description = "a page that never comes";
    missing.caption = "别的标题";
    const ULONGLONG start = GetTickCount64();
    try {
        app.waitForWindow(missing, 300);
        FAIL() << "the wait succeeded";
    } catch (const DriverError& error) {
        const std::string report = error.what();
        EXPECT_GE(GetTickCount64() - start, 300u);
        EXPECT_NE(report.find("a page that never comes"), std::string::npos) << report;
        EXPECT_NE(report.find(utf8(u8"别的标题")), std::string::npos) << report;
        EXPECT_NE(report.find(utf8(u8"caption \"Varnok驱动自测\"")), std::string::npos) << report;
        EXPECT_NE(report.find("id 1000 class \"Edit\""), std::string::npos) << report;
        EXPECT_NE(report.find(utf8(u8"id 1 class \"Button\" text \"确定\" disabled visible")),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find(utf8(u8"text \"禁用确定\" enabled visible checked")),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find("id 1031 class \"Button\" text"), std::string::npos) << report;
        EXPECT_NE(report.find("hidden"), std::string::npos) << report;
        EXPECT_NE(report.find("pos=7"), std::string::npos) << report;
        EXPECT_NE(report.find("focused"), std::string::npos) << report;
        EXPECT_NE(report.find("is running"), std::string::npos) << report;
    }
    EXPECT_THROW(app.waitForExit(100), DriverError);
    EXPECT_THROW(app.waitUntil([] { return false; }, "nothing", 50), DriverError);
}

TEST_F(DriverSelfTest, AWaitEndsAsSoonAsTheProcessEnds) {
    page.pressEscape();
    const ULONGLONG start = GetTickCount64();
    try {
        app.waitForWindow(secondPage(), 60000);
        FAIL() << "the wait succeeded";
    } catch (const DriverError& error) {
        const std::string report = error.what();
        EXPECT_LT(GetTickCount64() - start, 30000u);
        EXPECT_NE(report.find("the process ended first"), std::string::npos) << report;
        EXPECT_NE(report.find("exit code 2"), std::string::npos) << report;
    }
}

TEST(DriverProcess, StartsInTheChosenFolderAndIsEndedWhenTheTestIsOver) {
    const std::string folder = tempFolder();
    UniqueHandle watcher;
    {
        AppProcess app = AppProcess::start(dialogProgram(), folder);
        const Window page = app.waitForWindow(mainPage());
        EXPECT_EQ(page.control(IDC_FOLDER).text(), folder);
        watcher.reset(OpenProcess(SYNCHRONIZE, FALSE, app.id()));
        ASSERT_TRUE(watcher);
        EXPECT_EQ(WaitForSingleObject(watcher.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(WaitForSingleObject(watcher.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(DriverSelfTest, EndsTheProcessOnRequest) {
    EXPECT_EQ(page.processId(), app.id());
    EXPECT_TRUE(page.exists());
    EXPECT_NE(app.handle(), nullptr);
    EXPECT_NE(app.describeScreen().find("is running"), std::string::npos);
    app.kill();
    EXPECT_FALSE(app.running());
    EXPECT_TRUE(app.exitCode().has_value());
    app.waitUntil([&] { return !page.exists(); }, "the page to be gone");
    EXPECT_NE(app.describeScreen().find("has ended"), std::string::npos) << app.describeScreen();
}

TEST(DriverProcess, ReportsAProgramThatCannotStart) {
    EXPECT_THROW(AppProcess::start(joinPath(tempFolder(), "no-such-program.exe")), DriverError);
}

TEST(DriverDistribution, LaysOutTheProgramBesideItsDataAndRemovesThemAfterwards) {
    const std::string source = joinPath(tempFolder(), "vk-e2e-selftest-data");
    CreatedPathGuard sourceGuard(source);
    ASSERT_FALSE(sourceGuard.existedBefore());
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
    writeFile(joinPath(source, "Varnok.Ini"), "[设置]\r\n");
    ASSERT_TRUE(CreateDirectoryA(joinPath(source, "子目录").c_str(), nullptr));
    writeFile(joinPath(source, "子目录\\a.bin"), std::string("\0\1\2", 3));

    std::string folder;
    {
        Distribution distribution(dialogProgram(), source);
        folder = distribution.folder();
        EXPECT_TRUE(isFile(joinPath(folder, "SetUp.exe")));
        EXPECT_EQ(distribution.programPath(), joinPath(folder, "SetUp.exe"));
        EXPECT_EQ(distribution.dataFolder(), joinPath(folder, "Data"));
        EXPECT_EQ(listFolder(distribution.dataFolder()),
                  (std::vector<std::string>{"Varnok.Ini", "子目录"}));
        EXPECT_EQ(readFile(joinPath(distribution.dataFolder(), "Varnok.Ini")), "[设置]\r\n");
        EXPECT_EQ(readFile(joinPath(distribution.dataFolder(), "子目录\\a.bin")),
                  std::string("\0\1\2", 3));

        // The copied program runs from there.
        AppProcess app = AppProcess::start(distribution.programPath(), distribution.folder());
        EXPECT_EQ(app.waitForWindow(mainPage()).control(IDC_FOLDER).text(), folder);
    }
    EXPECT_FALSE(pathExists(folder));

    Distribution empty(dialogProgram(), "");
    EXPECT_TRUE(isFolder(empty.dataFolder()));
    EXPECT_TRUE(listFolder(empty.dataFolder()).empty());
    EXPECT_THROW(Distribution(dialogProgram(), joinPath(source, "missing")), DriverError);
}

TEST(DriverFiles, ChecksReadsAndRemoves) {
    const std::string folder = joinPath(tempFolder(), "vk-e2e-selftest-files");
    {
        CreatedPathGuard guard(folder);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string file = joinPath(folder, "只读.txt");
        writeFile(file, "内容");
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(pathExists(file));
        EXPECT_TRUE(isFile(file));
        EXPECT_FALSE(isFolder(file));
        EXPECT_TRUE(isFolder(folder));
        EXPECT_EQ(readFile(file), "内容");
        EXPECT_EQ(readFile(joinPath(folder, "none")), std::nullopt);
    }
    EXPECT_FALSE(pathExists(folder));
    EXPECT_TRUE(removeTree(folder));
    EXPECT_EQ(joinPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(joinPath("C:\\x", "a"), "C:\\x\\a");
    EXPECT_EQ(windowsPathOfHost("/work/a b/c"), "Z:\\work\\a b\\c");
    EXPECT_EQ(windowsPathOfHost("C:\\x"), "C:\\x");
}

constexpr const char* kTestKey = "Software\\VarnokE2ESelfTest";

TEST(DriverRegistry, ReadsValuesWithTheirStoredSize) {
    RegistryGuard guard(HKEY_CURRENT_USER, kTestKey);
    ASSERT_FALSE(guard.before().exists());
    writeRegistryString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\子键", "名称", "文本");
    writeRegistryDword(HKEY_CURRENT_USER, kTestKey, "LOADCTRLS", 14);

    const std::optional<RegistryValue> text =
        readRegistryValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\子键", "名称");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text->storedSize(), 5u);  // two GBK characters and the NUL
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\子键", "名称"),
              "文本");
    EXPECT_EQ(readRegistryDword(HKEY_CURRENT_USER, kTestKey, "LOADCTRLS"), 14u);
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, kTestKey, "LOADCTRLS"), std::nullopt);
    EXPECT_EQ(readRegistryDword(HKEY_CURRENT_USER, kTestKey, "missing"), std::nullopt);
    EXPECT_TRUE(registryKeyExists(HKEY_CURRENT_USER, kTestKey));
    EXPECT_EQ(registrySubkeys(HKEY_CURRENT_USER, kTestKey), (std::vector<std::string>{"子键"}));

    createRegistryKey(HKEY_CURRENT_USER,
                      std::string(kTestKey) + "\\A\\Applications\\VK_BatchPlot2018");
    EXPECT_EQ(
        findRegistryKeys(HKEY_CURRENT_USER, kTestKey,
                         [](const std::string& name) { return name.starts_with("VK_"); }),
        (std::vector<std::string>{std::string(kTestKey) + "\\A\\Applications\\VK_BatchPlot2018"}));
}

TEST(DriverRegistry, SnapshotsCompareAndRestore) {
    RegistryGuard guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest");
    writeRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest\\R22.0", "ProductName",
                        "AutoCAD 2018 - 简体中文");
    const RegistrySnapshot before =
        RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest");
    EXPECT_TRUE(before.exists());
    EXPECT_NE(before.describe().find(utf8(u8"\"ProductName\" = text \"AutoCAD 2018 - 简体中文\"")),
              std::string::npos)
        << before.describe();

    writeRegistryDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest\\R22.0\\X", "v", 1);
    const RegistrySnapshot changed =
        RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest");
    EXPECT_NE(before, changed);

    before.restore();
    EXPECT_EQ(RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest"), before);
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnokE2ESelfTest\\R22.0\\X"));
}

TEST(DriverRegistry, TheGuardPutsTheKeyBack) {
    {
        RegistryGuard guard(HKEY_CURRENT_USER, kTestKey);
        writeRegistryString(HKEY_CURRENT_USER, kTestKey, "a", "b");
    }
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, kTestKey));
}

TEST(DriverRegistry, ImportsRegFiles) {
    RegistryGuard guard(HKEY_CURRENT_USER, kTestKey);
    const std::string file = joinPath(tempFolder(), "vk-e2e-selftest.reg");
    CreatedPathGuard fileGuard(file);
    writeFile(file,
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VarnokE2ESelfTest\\Imported]\r\n"
              "\"Name\"=\"AutoCAD 2018\"\r\n\"Count\"=dword:00000002\r\n");
    importRegFile(file);
    EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Imported", "Name"),
              "AutoCAD 2018");
    EXPECT_EQ(readRegistryDword(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Imported", "Count"),
              2u);
}

}  // namespace
}  // namespace vk::e2e
