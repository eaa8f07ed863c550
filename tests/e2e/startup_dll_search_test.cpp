// SetUp.exe's start-up when DLL loading cannot be limited to the system
// folder: it says so and ends with exit code 1 before it loads anything else.
#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/driver.h"
#include "e2e/setup/setup_ui.h"

#include <tlhelp32.h>

namespace vk::e2e::setup {
namespace {

// Whether the process has loaded a module of this name (the system's own).
bool hasModule(const AppProcess& app, const char* name) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, app.id()));
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot.get(), &module); more;
         more = Module32Next(snapshot.get(), &module)) {
        if (lstrcmpiA(module.szModule, name) == 0)
            return true;
    }
    return false;
}

TEST(StartUp, WithoutTheSystemFolderRestrictionStopsBeforeTheWizard) {
    const std::string program = joinPath(programFolder(), "setup_dll_search_fails.exe");
    AppProcess app = AppProcess::start(program);
    const Window box = app.waitForMessageBox(kMessageCaption);
    EXPECT_TRUE(box.messageText().starts_with("无法安全加载系统组件 !"))
        << toUtf8(box.messageText());
    // The wizard loads the common controls first thing; they are not there.
    EXPECT_TRUE(hasModule(app, "kernel32.dll")) << "the module list was not read";
    EXPECT_FALSE(hasModule(app, "comctl32.dll"));
    box.answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 1u);
}

}  // namespace
}  // namespace vk::e2e::setup
