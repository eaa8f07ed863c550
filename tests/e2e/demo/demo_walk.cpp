// The demo's walk through the typical run of SetUp.exe, as scripts/demo.sh shows it without a
// display: starts the program from its distribution folder, waits for each page by its
// controls, saves a picture of it (title bar included) and presses its default button:
// 下一步, 下一步, 安  装, 确  定. Every wait has a deadline; a failed one ends the walk with
// what was on screen.
//
// Usage: demo_walk.exe <SetUp.exe> <folder for page1.bmp ... page4.bmp>
// Exit code 0 when the wizard ended by itself after its last page, 1 when the walk failed,
// 2 for wrong arguments.
#include <windows.h>

#include <cstdio>
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
// mean the page has finished painting.
constexpr DWORD kSettleMs = 200;

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

Picture settledPicture(const AppProcess& app, const Window& page, int number) {
    Picture last = captureWindow(page.hwnd());
    app.waitUntil(
        [&] {
            Sleep(kSettleMs);
            Picture now = captureWindow(page.hwnd());
            const bool same = now == last;
            last = std::move(now);
            return same;
        },
        "page " + std::to_string(number) + " to finish painting", kPaintTimeoutMs);
    return last;
}

void walk(const std::string& program, const std::string& shots) {
    const WindowQuery pages[] = {page1(), page2(), page3(), page4()};
    AppProcess app = AppProcess::start(program, folderOf(program));
    int number = 0;
    for (const WindowQuery& query : pages) {
        ++number;
        const Window page = app.waitForWindow(query, kPageTimeoutMs);
        const std::string shot = joinPath(shots, "page" + std::to_string(number) + ".bmp");
        saveBmp(settledPicture(app, page, number), shot);
        std::printf("%s: %s\n", query.description.c_str(), toUtf8(shot).c_str());
        std::fflush(stdout);
        page.control(IDOK).click();
    }
    const DWORD code = app.waitForExit(kPageTimeoutMs);
    if (code != 0)
        throw DriverError("SetUp.exe ended with exit code " + std::to_string(code));
    std::printf("SetUp.exe ended after the last page\n");
}

}  // namespace
}  // namespace vk::e2e::setup

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_walk.exe <SetUp.exe> <folder for the pictures>\n");
        return 2;
    }
    try {
        vk::e2e::setup::walk(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo walk failed: %s\n", error.what());
        return 1;
    }
}
