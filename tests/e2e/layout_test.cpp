// Every page, the folder picker and the /SILENT progress window at 96, 144 and 192 DPI
// (Wine takes the screen's DPI from LogPixels when a program starts): nothing outside its
// window, nothing overlapping, no text cut, the bitmaps at the size the DPI gives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver/unique_handle.h"
#include "e2e/install_run.h"
#include "e2e/layout_check.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kMachine2018And2026 = "registry/m6-chs-2018-plus-2026-x64.reg";
constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr int kHeaderBitmap = 1045;
constexpr int kMenuPicture = 1046;
constexpr int kPickerTree = 14145;
constexpr int kPickerEdit = 14148;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class Layout : public InstallRun, public ::testing::WithParamInterface<UINT> {
protected:
    Layout() { writeRegistryDword(HKEY_CURRENT_USER, kDesktop, "LogPixels", dpi); }

    int scaled(int pixelsAt96) const { return MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

    // A page: its template's font, the version line's own (control 1011 on pages 1 and 2,
    // 1013 on page 3), the header emblem, and page 4's menu picture.
    void expectPage(const Window& page, int versionLine, const std::string& what) const {
        LayoutRules rules{dpi, &pageFont, {}, {{kHeaderBitmap, {scaled(64), scaled(64)}}}};
        if (versionLine != 0)
            rules.fonts[versionLine] = &versionFont;
        if (page.hasControl(kMenuPicture))
            rules.bitmaps[kMenuPicture] = {scaled(307), scaled(175)};
        const std::vector<std::string> problems = layoutProblems(page, rules);
        EXPECT_TRUE(problems.empty()) << what << " at " << dpi << " DPI:\n" << joined(problems);
    }
    void expectWindow(const Window& window, const MeasuringFont& font,
                      const std::string& what) const {
        const std::vector<std::string> problems = layoutProblems(window, {dpi, &font, {}, {}});
        EXPECT_TRUE(problems.empty()) << what << " at " << dpi << " DPI:\n" << joined(problems);
    }

    Window openPage2(const AppProcess& app) const {
        const Window first = app.waitForWindow(page1());
        return clickFor(app, first.control(IDOK), page2());
    }

    const UINT dpi = GetParam();
    RegistryGuard desktop{HKEY_CURRENT_USER, kDesktop};
    // As the dialog manager makes a template's font; the version line as the pages make it.
    const MeasuringFont pageFont{-MulDiv(9, static_cast<int>(dpi), 72), FW_NORMAL, DEFAULT_CHARSET,
                                 "宋体"};
    const MeasuringFont versionFont{scaled(12), 600, ANSI_CHARSET, "宋体"};
    // The shell's browse window's template font.
    const MeasuringFont pickerFont{-MulDiv(8, static_cast<int>(dpi), 72), FW_NORMAL,
                                   DEFAULT_CHARSET, "MS Shell Dlg"};
};

TEST_P(Layout, EveryPageAndThePicker) {
    seedFoundMachine(kMachine2018And2026);
    AppProcess app = start();
    const Window first = app.waitForWindow(page1());
    expectPage(first, kVersionLine, "page 1, screen 0");
    const Control agreement = first.control(kAgreement);
    for (int screen = 1; screen <= 3; ++screen) {
        const std::string before = agreement.text();
        first.control(kNextScreen).click();
        app.waitUntil([&] { return agreement.text() != before; }, "the next screen");
        expectPage(first, kVersionLine, "page 1, screen " + std::to_string(screen));
    }
    // AutoCAD 2026 found, its module not in Data: the line in the seventh row's place.
    const Window second = clickFor(app, first.control(IDOK), page2());
    ASSERT_TRUE(second.control(kUnservedReleases).visible());
    expectPage(second, kVersionLine, "page 2 with the line");

    const Window third = clickFor(app, second.control(IDOK), page3());
    expectPage(third, kVersionLinePage3, "page 3");
    third.control(kBrowse).click();
    const Window picker = app.waitForWindow(
        {"the folder picker", kPickerCaption, "#32770", {kPickerTree, kPickerEdit}, {}});
    expectWindow(picker, pickerFont, "the folder picker");
    picker.control(IDCANCEL).click();
    app.waitUntilClosed(picker);

    const Window fourth = installFor4(app, third);
    expectPage(fourth, 0, "page 4");
    fourth.control(IDOK).click();
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_P(Layout, Page2WithItsSeventhRow) {
    seedFoundMachine(kMachine2018And2026);
    writeFile(dataFile("VK_BatchPlot2025.ARX"), "VK_BatchPlot2025 stand-in");
    AppProcess app = start();
    const Window second = openPage2(app);
    ASSERT_FALSE(second.control(kUnservedReleases).visible());
    ASSERT_TRUE(second.control(releaseBox(2026)).visible());
    expectPage(second, kVersionLine, "page 2 with 2025 to 2027");
    second.control(IDCANCEL).click();
    EXPECT_EQ(app.waitForExit(), 2u);
}

// Shown while a question waits: a copy fails on a file another program holds.
TEST_P(Layout, SilentProgressWindow) {
    seedFoundMachine(kMachine2018);
    folders.make(kDefaultProductFolder);
    const std::string readMe = joinPath(kDefaultProductFolder, "ReadMe.txt");
    writeFile(readMe, "an old read-me");
    const UniqueHandle held(CreateFileA(readMe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held) << withLastError("could not hold the read-me");

    AppProcess app = startWith("/SILENT");
    const Window window = app.waitForWindow(
        {"the progress window", kPageCaption, "#32770", {kProgress}, {kFolder, IDOK}});
    const Window question = app.waitForMessageBox(kMessageCaption);
    expectWindow(window, pageFont, "the progress window");
    question.answer(IDABORT);
    app.waitUntilClosed(question);
    app.waitForMessageBox(kMessageCaption).answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 5u);
}

INSTANTIATE_TEST_SUITE_P(, Layout, ::testing::Values(96u, 144u, 192u),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                             return "Dpi" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace vk::e2e::setup
