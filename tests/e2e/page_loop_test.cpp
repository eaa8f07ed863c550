// SetUp.exe driven like a person through its first two pages: the start from a distribution
// folder, the agreement, the release selection on sample machines, going back and forth,
// and every way to cancel, after which nothing on the machine has changed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/driver/driver.h"
#include "e2e/setup/machine_state.h"
#include "e2e/setup/setup_ui.h"
#include "wine_machine.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kRevisionLine = "本协议最终修订日期： 2021-03-16";
constexpr const char* kVersionText = "Varnok批打印软件 V2023.5.26 (64位版本)";

std::string agreementTitle() {
    return std::string(13, ' ') + "Varnok批打印软件最终用户许可协议";
}

class PageLoop : public ::testing::Test {
protected:
    // Whatever the test or the program does to these is undone when the test ends.
    RegistryGuard machineKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk"};
    RegistryGuard wowKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk"};
    RegistryGuard userKeys{HKEY_CURRENT_USER, "Software\\Autodesk"};
    CreatedPathGuard installFolder{kDefaultInstallFolder};
    CreatedPathGuard settings{settingsFolder()};
    Distribution distribution{setupProgram(), sampleDataFolder()};

    AppProcess start() const {
        return AppProcess::start(distribution.programPath(), distribution.folder());
    }
};

// A machine with AutoCAD 2010 and 2011, whose boxes have each other's id order.
void seed2010And2011() {
    ASSERT_TRUE(systest::ClearAutodeskKeys());
    const std::string root = "SOFTWARE\\Autodesk\\AutoCAD\\";
    writeRegistryString(HKEY_LOCAL_MACHINE, root + "R18.0\\ACAD-8001:804", "ProductName",
                        "AutoCAD 2010 - 简体中文 (Simplified Chinese)");
    writeRegistryString(HKEY_LOCAL_MACHINE, root + "R18.0\\ACAD-8001:804", "AcadLocation",
                        "C:\\Program Files\\AutoCAD 2010");
    writeRegistryString(HKEY_LOCAL_MACHINE, root + "R18.1\\ACAD-9001:804", "ProductName",
                        "AutoCAD 2011 - 简体中文 (Simplified Chinese)");
    writeRegistryString(HKEY_LOCAL_MACHINE, root + "R18.1\\ACAD-9001:804", "AcadLocation",
                        "C:\\Program Files\\AutoCAD 2011");
}

Window nextToPage2(const AppProcess& app, const Window& page) {
    page.control(IDOK).click();
    return app.waitForWindow(page2());
}

Window backToPage1(const AppProcess& app, const Window& page) {
    page.control(kBack).click();
    return app.waitForWindow(page1());
}

void clickAndWaitForCheck(const AppProcess& app, const Control& box, bool checked) {
    box.click();
    app.waitUntil([&] { return box.checked() == checked; },
                  checked ? "the box to be checked" : "the box to be unchecked");
}

void expectReleaseBoxes(const Window& page, const std::set<int>& enabled,
                        const std::set<int>& checked) {
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        SCOPED_TRACE(year);
        const Control box = page.control(releaseBox(year));
        std::string text = "For AutoCAD";
        text += std::to_string(year);
        EXPECT_EQ(box.text(), text);
        EXPECT_TRUE(box.visible());
        EXPECT_EQ(box.enabled(), enabled.contains(year));
        EXPECT_EQ(box.checked(), checked.contains(year));
    }
}

void expectNothingWritten(const MachineState& before) {
    EXPECT_EQ(MachineState::capture().describe(), before.describe());
    EXPECT_TRUE(demandLoadKeys().empty());
}

enum class CancelBy { Button, Escape, CloseBox };

void cancel(const Window& page, CancelBy way) {
    switch (way) {
        case CancelBy::Button:
            page.control(IDCANCEL).click();
            break;
        case CancelBy::Escape:
            page.pressEscape();
            break;
        case CancelBy::CloseBox:
            page.clickCloseBox();
            break;
    }
}

TEST_F(PageLoop, EveryWayToCancelThePageOneEndsTheProgramAndWritesNothing) {
    systest::SampleMachine machine("registry/m1-chs-2018-x64.reg");
    ASSERT_TRUE(machine.Imported());
    const MachineState before = MachineState::capture();
    ASSERT_FALSE(before.installFolder) << "a run before this test left C:\\Varnok";
    for (CancelBy way : {CancelBy::Button, CancelBy::Escape, CancelBy::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(way));
        AppProcess app = start();
        const Window page = app.waitForWindow(page1());
        EXPECT_EQ(page.caption(), kPageCaption);
        cancel(page, way);
        EXPECT_EQ(app.waitForExit(), 2u) << "cancelled before installing";
        expectNothingWritten(before);
    }
}

TEST_F(PageLoop, FirstVisitShowsScreenZeroWithAgreeChosen) {
    AppProcess app = start();
    const Window page = app.waitForWindow(page1());
    EXPECT_TRUE(page.control(kAgreement).text().starts_with(agreementTitle()));
    EXPECT_FALSE(page.control(kPreviousScreen).enabled());
    EXPECT_TRUE(page.control(kNextScreen).enabled());
    EXPECT_TRUE(page.control(kAgree).checked());
    EXPECT_FALSE(page.control(kDisagree).checked());
    EXPECT_TRUE(page.control(IDOK).enabled());
    EXPECT_EQ(page.control(IDOK).text(), "下一步");
    EXPECT_EQ(page.control(IDCANCEL).text(), "取  消");
    EXPECT_EQ(page.control(kBack).text(), "上一步");
    EXPECT_FALSE(page.control(kBack).enabled());
    EXPECT_EQ(page.control(kVersionLine).text(), kVersionText);
}

TEST_F(PageLoop, PagingReachesTheLastScreenAndComesBack) {
    AppProcess app = start();
    const Window page = app.waitForWindow(page1());
    std::vector<std::string> screens{page.control(kAgreement).text()};
    for (int screen = 1; screen <= 3; ++screen) {
        SCOPED_TRACE(screen);
        page.control(kNextScreen).click();
        app.waitUntil([&] { return page.control(kAgreement).text() != screens.back(); },
                      "the next agreement screen");
        screens.push_back(page.control(kAgreement).text());
        EXPECT_TRUE(page.control(kPreviousScreen).enabled());
        EXPECT_EQ(page.control(kNextScreen).enabled(), screen != 3);
        EXPECT_TRUE(page.control(kAgree).checked()) << "paging changed the choice";
        EXPECT_TRUE(page.control(IDOK).enabled());
    }
    EXPECT_TRUE(screens[3].ends_with(kRevisionLine)) << toUtf8(screens[3]);

    for (int screen = 2; screen >= 0; --screen) {
        SCOPED_TRACE(screen);
        page.control(kPreviousScreen).click();
        app.waitUntil([&] { return page.control(kAgreement).text() == screens[screen]; },
                      "the previous agreement screen");
        EXPECT_EQ(page.control(kPreviousScreen).enabled(), screen != 0);
        EXPECT_TRUE(page.control(kNextScreen).enabled());
    }
}

TEST_F(PageLoop, DisagreeDisablesNextAndAgreeEnablesItAgain) {
    AppProcess app = start();
    const Window page = app.waitForWindow(page1());
    page.control(kDisagree).click();
    app.waitUntil([&] { return !page.control(IDOK).enabled(); }, "下一步 disabled");
    EXPECT_TRUE(page.control(kDisagree).checked());
    EXPECT_FALSE(page.control(kAgree).checked());

    page.control(kAgree).click();
    app.waitUntil([&] { return page.control(IDOK).enabled(); }, "下一步 enabled");
    EXPECT_TRUE(page.control(kAgree).checked());
    EXPECT_FALSE(page.control(kDisagree).checked());
}

TEST_F(PageLoop, EnterActsLikeNextOnlyWhileNextIsEnabled) {
    AppProcess app = start();
    const Window page = app.waitForWindow(page1());
    page.control(kDisagree).click();
    app.waitUntil([&] { return !page.control(IDOK).enabled(); }, "下一步 disabled");
    page.pressEnter();
    // Posted input is handled in order: when the later click has shown, Enter was handled.
    page.control(kNextScreen).click();
    app.waitUntil([&] { return page.control(kPreviousScreen).enabled(); }, "screen 1");
    EXPECT_TRUE(page.visible()) << app.describeScreen();
    EXPECT_FALSE(findWindow(app.id(), page2()).has_value()) << app.describeScreen();

    page.control(kAgree).click();
    app.waitUntil([&] { return page.control(IDOK).enabled(); }, "下一步 enabled");
    page.pressEnter();
    app.waitForWindow(page2());
}

TEST_F(PageLoop, OnlyAutoCad2018FoundOffersOnlyIts2018Box) {
    systest::SampleMachine machine("registry/m1-chs-2018-x64.reg");
    ASSERT_TRUE(machine.Imported());
    AppProcess app = start();
    const Window page = nextToPage2(app, app.waitForWindow(page1()));
    expectReleaseBoxes(page, {2018}, {2018});
    EXPECT_TRUE(page.control(IDOK).enabled());
    EXPECT_EQ(page.control(IDOK).text(), "下一步");
    EXPECT_TRUE(page.control(kBack).enabled());
    EXPECT_EQ(page.control(kVersionLine).text(), kVersionText);

    clickAndWaitForCheck(app, page.control(releaseBox(2018)), false);
    app.waitUntil([&] { return !page.control(IDOK).enabled(); }, "下一步 disabled");
    clickAndWaitForCheck(app, page.control(releaseBox(2018)), true);
    app.waitUntil([&] { return page.control(IDOK).enabled(); }, "下一步 enabled");
}

TEST_F(PageLoop, TwoProductsOfOneYearOfferThatYearOnce) {
    systest::SampleMachine machine("registry/two-products-2018.reg");
    ASSERT_TRUE(machine.Imported());
    AppProcess app = start();
    const Window page = nextToPage2(app, app.waitForWindow(page1()));
    expectReleaseBoxes(page, {2018}, {2018});
    EXPECT_TRUE(page.control(IDOK).enabled());
}

TEST_F(PageLoop, NoReleaseFoundLeavesOnlyBackAndCancel) {
    ASSERT_TRUE(systest::ClearAutodeskKeys());
    const MachineState before = MachineState::capture();
    AppProcess app = start();
    Window page = nextToPage2(app, app.waitForWindow(page1()));
    expectReleaseBoxes(page, {}, {});
    EXPECT_FALSE(page.control(IDOK).enabled());
    EXPECT_TRUE(page.control(kBack).enabled());
    EXPECT_TRUE(page.control(IDCANCEL).enabled());

    const Window first = backToPage1(app, page);
    EXPECT_TRUE(first.control(kAgree).checked());
    page = nextToPage2(app, first);
    expectReleaseBoxes(page, {}, {});
    page.control(IDCANCEL).click();
    app.waitForExit();
    expectNothingWritten(before);
}

TEST_F(PageLoop, TheBoxesOf2010And2011SelectTheirOwnYears) {
    seed2010And2011();
    AppProcess app = start();
    Window page = nextToPage2(app, app.waitForWindow(page1()));
    expectReleaseBoxes(page, {2010, 2011}, {2010, 2011});

    // 2010 (id 1027) off: after a round trip through page 1, only 2011 is selected.
    clickAndWaitForCheck(app, page.control(1027), false);
    EXPECT_TRUE(page.control(1026).checked());
    page = nextToPage2(app, backToPage1(app, page));
    expectReleaseBoxes(page, {2010, 2011}, {2011});

    // 2011 (id 1026) off and 2010 on: only 2010 is selected.
    clickAndWaitForCheck(app, page.control(1026), false);
    app.waitUntil([&] { return !page.control(IDOK).enabled(); }, "下一步 disabled, none checked");
    clickAndWaitForCheck(app, page.control(1027), true);
    app.waitUntil([&] { return page.control(IDOK).enabled(); }, "下一步 enabled");
    page = nextToPage2(app, backToPage1(app, page));
    expectReleaseBoxes(page, {2010, 2011}, {2010});
}

TEST_F(PageLoop, BackToPageOneKeepsTheChoiceAndTheSelection) {
    systest::SampleMachine machine("registry/m1-chs-2018-x64.reg");
    ASSERT_TRUE(machine.Imported());
    AppProcess app = start();
    Window first = app.waitForWindow(page1());
    const std::string screen0 = first.control(kAgreement).text();
    first.control(kNextScreen).click();
    app.waitUntil([&] { return first.control(kPreviousScreen).enabled(); }, "screen 1");

    Window page = nextToPage2(app, first);
    first = backToPage1(app, page);
    EXPECT_EQ(first.control(kAgreement).text(), screen0) << "a new visit starts at screen 0";
    EXPECT_FALSE(first.control(kPreviousScreen).enabled());
    EXPECT_TRUE(first.control(kAgree).checked());
    EXPECT_FALSE(first.control(kDisagree).checked());
    EXPECT_TRUE(first.control(IDOK).enabled());

    page = nextToPage2(app, first);
    expectReleaseBoxes(page, {2018}, {2018});
    clickAndWaitForCheck(app, page.control(releaseBox(2018)), false);
    page = nextToPage2(app, backToPage1(app, page));
    expectReleaseBoxes(page, {2018}, {});
    EXPECT_FALSE(page.control(IDOK).enabled());
}

TEST_F(PageLoop, EveryWayToCancelPageTwoEndsTheProgramAndWritesNothing) {
    systest::SampleMachine machine("registry/m1-chs-2018-x64.reg");
    ASSERT_TRUE(machine.Imported());
    const MachineState before = MachineState::capture();
    for (CancelBy way : {CancelBy::Button, CancelBy::Escape, CancelBy::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(way));
        AppProcess app = start();
        const Window page = nextToPage2(app, app.waitForWindow(page1()));
        clickAndWaitForCheck(app, page.control(releaseBox(2018)), false);
        cancel(page, way);
        app.waitForExit();
        expectNothingWritten(before);
    }
}

}  // namespace
}  // namespace vk::e2e::setup
