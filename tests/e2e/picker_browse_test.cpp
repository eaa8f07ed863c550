// The folder picker opened by "浏览...": it starts at the page's folder, creates a missing
// folder with its parents when the user agrees, refuses an invalid one and stays open, and
// leaves the page's text alone when cancelled.
#include <gtest/gtest.h>

#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

class Picker : public InstallRun {
protected:
    void SetUp() override { seedMachine(kMachine2018, {}); }
};

// Types into the picker's box and presses its OK, which asks or refuses in a box of its own.
Window typeAndAccept(const AppProcess& app, const Window& browser, const std::string& folder) {
    browser.control(kPickerEdit).setText(folder);
    app.waitUntil([&] { return browser.control(IDOK).enabled(); }, "the picker's OK enabled");
    return clickFor(app, browser.control(IDOK), messageBoxQuery(kAppName));
}

void answerAndWait(const AppProcess& app, const Window& box, int answer) {
    box.answer(answer);
    app.waitUntilClosed(box);
}

TEST_F(Picker, AMissingFolderIsCreatedWithItsParentsOnYesAndThePageShowsIt) {
    const std::string wanted = "D:\\PickerNew\\deeper\\deepest";
    folders.watch("D:\\PickerNew");
    AppProcess app = start();
    const Window page = goToPage3(app);
    page.control(kFolder).setText("C:\\windows\\system32");
    const Window browser = clickFor(app, page.control(kBrowse), picker());
    const Control box = browser.control(kPickerEdit);
    app.waitUntil([&] { return lstrcmpiA(box.text().c_str(), "C:\\windows\\system32") == 0; },
                  "the page's folder in the picker's box");

    const Window question = typeAndAccept(app, browser, wanted);
    EXPECT_EQ(toUtf8(question.messageText()),
              toUtf8("The folder:\n\n" + wanted +
                     "\n\ndoes not exist. Do you want the folder to be created?"));
    EXPECT_FALSE(pathExists("D:\\PickerNew")) << "created before the answer";
    answerAndWait(app, question, IDYES);
    app.waitUntilClosed(browser);
    app.waitUntil([&] { return page.control(kFolder).text() == wanted; },
                  "the new folder on page 3");
    EXPECT_TRUE(isFolder(wanted));

    page.control(IDCANCEL).click();
    app.waitForExit();
}

TEST_F(Picker, RefusedAndDeclinedFoldersKeepItOpenAndCancelKeepsThePageText) {
    folders.watch("D:\\PickerBad");
    folders.watch("D:\\PickerNo");
    AppProcess app = start();
    const Window page = goToPage3(app);
    const Window browser = clickFor(app, page.control(kBrowse), picker());

    // A trailing backslash makes an empty folder name: refused, nothing created.
    Window box = typeAndAccept(app, browser, "D:\\PickerBad\\");
    EXPECT_EQ(toUtf8(box.messageText()),
              "The folder:\n\nD:\\PickerBad\\\n\nis invalid. Please reenter.");
    answerAndWait(app, box, IDOK);
    EXPECT_TRUE(browser.visible());
    EXPECT_FALSE(pathExists("D:\\PickerBad"));

    box = typeAndAccept(app, browser, "D:\\PickerNo");
    answerAndWait(app, box, IDNO);
    EXPECT_TRUE(browser.visible());
    EXPECT_FALSE(pathExists("D:\\PickerNo"));

    browser.control(IDCANCEL).click();
    app.waitUntilClosed(browser);
    app.waitUntil([&] { return page.enabled(); }, "page 3 usable again");
    EXPECT_EQ(page.control(kFolder).text(), "C:\\Varnok");

    page.control(IDCANCEL).click();
    app.waitForExit();
}

}  // namespace
}  // namespace vk::e2e::setup
