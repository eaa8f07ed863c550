// TRUSTEDPATHS lists that the ANSI functions could not carry, through a whole installation:
// entries outside code page 936 and a REG_EXPAND_SZ list keep every character and their type.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

using TrustedPathsInstall = InstallRun;

TEST_F(TrustedPathsInstall, ListsKeepEveryCharacterAndTheirType) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    // Korean, and "É" and "Ü", which code page 936 lacks ("é" it has); already upper case.
    const std::wstring outside = L"C:\\한국어 도구;D:\\CAFé\\ÜBER";
    const std::wstring expandable = L"%APPDATA%\\TOOLS";
    const std::string otherProfile =
        "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\Expand\\Variables";
    writeRegistryText(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS", REG_SZ, outside);
    writeRegistryText(HKEY_CURRENT_USER, otherProfile, "TRUSTEDPATHS", REG_EXPAND_SZ, expandable);

    AppProcess app = start();
    installFor4(app, goToPage3(app)).pressEscape();
    app.waitForExit();

    const std::wstring added = L";C:\\VARNOK\\VARNOK批打印软件";
    const std::optional<RegistryText> first =
        readRegistryText(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(first->text, outside + added);
    const std::optional<RegistryText> second =
        readRegistryText(HKEY_CURRENT_USER, otherProfile, "TRUSTEDPATHS");
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(second->text, expandable + added);
}

}  // namespace
}  // namespace vk::e2e::setup
