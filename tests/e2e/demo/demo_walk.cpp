// The demo's walk through the typical run of SetUp.exe, as scripts/demo.sh shows it without a
// display: starts the program from its distribution folder, waits for each page by its
// controls, saves a picture of it (title bar included) and presses its default button:
// 下一步, 下一步, 安  装, 确  定. Every wait has a deadline; a failed one ends the walk with
// what was on screen.
//
// Usage: demo_walk.exe [--gallery] <SetUp.exe> <folder for the pictures>
// Saves page1.bmp to page4.bmp. --gallery also takes the pictures of docs/screenshots on the
// way: the agreement's other screens, the folder picker and the too-long refusal.
// Exit code 0 when the wizard ended by itself after its last page, 1 when the walk failed,
// 2 for wrong arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include "e2e/driver/driver.h"
#include "e2e/driver/window_capture.h"
#include "e2e/setup/setup_ui.h"

namespace vk::e2e::setup {
namespace {

// Generous: a cold start or an installation on a busy 2-CPU machine.
constexpr TimeoutMs kPageTimeoutMs = 60000;
constexpr TimeoutMs kPaintTimeoutMs = 10000;
// Wine shows what a window painted a moment later; two pictures this far apart that agree
// mean the window has finished painting.
constexpr DWORD kSettleMs = 200;

constexpr const char* kPickerCaption = "请选择安装目录：";
constexpr int kPickerTree = 14145;
constexpr int kPickerEdit = 14148;

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

class Walk {
public:
    Walk(const std::string& program, std::string shots)
        : app_(AppProcess::start(program, folderOf(program))), shots_(std::move(shots)) {}

    const AppProcess& app() const { return app_; }

    Window waitFor(const WindowQuery& query) const {
        return app_.waitForWindow(query, kPageTimeoutMs);
    }

    // Saves the window's picture as <name>.bmp once it has finished painting.
    void shoot(const Window& window, const std::string& name) const {
        Picture last = captureWindow(window.hwnd());
        app_.waitUntil(
            [&] {
                Sleep(kSettleMs);
                Picture now = captureWindow(window.hwnd());
                const bool same = now == last;
                last = std::move(now);
                return same;
            },
            name + " to finish painting", kPaintTimeoutMs);
        const std::string path = joinPath(shots_, name + ".bmp");
        saveBmp(last, path);
        std::printf("%s: %s\n", name.c_str(), toUtf8(path).c_str());
        std::fflush(stdout);
    }

private:
    AppProcess app_;
    std::string shots_;
};

// The agreement's three further screens ("下一页").
void galleryOfPage1(const Walk& walk, const Window& page) {
    const Control agreement = page.control(kAgreement);
    for (int screen = 1; screen <= 3; ++screen) {
        const std::string before = agreement.text();
        page.control(kNextScreen).click();
        walk.app().waitUntil([&] { return agreement.text() != before; },
                             "the agreement's next screen", kPageTimeoutMs);
        walk.shoot(page, "page1-screen" + std::to_string(screen));
    }
}

// The folder picker over C:\Program Files, and the refusal of a folder too long for the
// AutoCAD loader; then the default folder again.
void galleryOfPage3(const Walk& walk, const Window& page) {
    const Control folder = page.control(kFolder);
    const std::string typed = folder.text();
    folder.setText("C:\\Program Files");
    page.control(kBrowse).click();
    const Window picker = walk.waitFor(
        {"the folder picker", kPickerCaption, "#32770", {kPickerTree, kPickerEdit}, {}});
    walk.shoot(picker, "picker");
    picker.control(IDCANCEL).click();
    walk.app().waitUntilClosed(picker, kPageTimeoutMs);

    folder.setText("C:\\" + std::string(240, 'x'));
    page.control(IDOK).click();
    const Window refusal = walk.waitFor(messageBoxQuery(kMessageCaption));
    walk.shoot(refusal, "page3-too-long");
    refusal.answer(IDOK);
    walk.app().waitUntilClosed(refusal, kPageTimeoutMs);
    folder.setText(typed);
}

void walkThrough(const std::string& program, const std::string& shots, bool gallery) {
    const Walk walk(program, shots);
    const WindowQuery pages[] = {page1(), page2(), page3(), page4()};
    int number = 0;
    for (const WindowQuery& query : pages) {
        ++number;
        const Window page = walk.waitFor(query);
        walk.shoot(page, "page" + std::to_string(number));
        if (gallery && number == 1)
            galleryOfPage1(walk, page);
        if (gallery && number == 3)
            galleryOfPage3(walk, page);
        page.control(IDOK).click();
    }
    const DWORD code = walk.app().waitForExit(kPageTimeoutMs);
    if (code != 0)
        throw DriverError("SetUp.exe ended with exit code " + std::to_string(code));
    std::printf("SetUp.exe ended after the last page\n");
}

}  // namespace
}  // namespace vk::e2e::setup

int main(int argc, char** argv) {
    const bool gallery = argc == 4 && std::strcmp(argv[1], "--gallery") == 0;
    if (argc != 3 && !gallery) {
        std::fprintf(stderr,
                     "usage: demo_walk.exe [--gallery] <SetUp.exe> <folder for the pictures>\n");
        return 2;
    }
    try {
        vk::e2e::setup::walkThrough(argv[argc - 2], argv[argc - 1], gallery);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo walk failed: %s\n", error.what());
        return 1;
    }
}
