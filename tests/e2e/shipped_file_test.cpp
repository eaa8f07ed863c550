// The file that is shipped, as an administrator's tools see it: its version resource names
// what the installation's Apps & Features entry says, and the installation copies it whole
// (Uninstall.exe), so a signed SetUp.exe leaves a signed uninstaller. The signing round trip
// (tests/signing) runs the second test again on a signed copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kQuiet = "/VERYSILENT /SUPPRESSMSGBOXES";

// A text of the version resource's Chinese (PRC), Unicode block, or "(none)".
std::wstring versionText(const std::string& program, const wchar_t* name) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &handle);
    std::vector<unsigned char> block(size);
    if (size == 0 || !GetFileVersionInfoA(program.c_str(), 0, size, block.data()))
        return L"(none)";
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), &text, &length) || length == 0)
        return L"(none)";
    return static_cast<const wchar_t*>(text);
}

std::wstring appsFeaturesText(const char* value) {
    const std::optional<RegistryText> text =
        readRegistryText(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, value);
    return text ? text->text : L"(none)";
}

using ShippedFile = InstallRun;

TEST_F(ShippedFile, VersionResourceNamesWhatAppsFeaturesShows) {
    seedFoundMachine(kMachine2018);
    AppProcess app = startWith(kQuiet);
    ASSERT_EQ(app.waitForExit(), 0u);

    const std::string program = distribution.programPath();
    EXPECT_EQ(versionText(program, L"ProductName"), appsFeaturesText("DisplayName"));
    EXPECT_EQ(versionText(program, L"CompanyName"), appsFeaturesText("Publisher"));
    EXPECT_EQ(versionText(program, L"ProductVersion"), appsFeaturesText("DisplayVersion"));
    EXPECT_EQ(versionText(program, L"FileVersion"), appsFeaturesText("DisplayVersion") + L".0");
    EXPECT_EQ(versionText(program, L"OriginalFilename"), L"SetUp.exe");
    EXPECT_EQ(versionText(program, L"FileDescription"), L"Varnok批打印软件安装程序");
}

// VARNOK_UNINSTALLER_COPY (optional): where to leave a copy of the installed Uninstall.exe,
// for the signing round trip to verify its signature.
TEST_F(ShippedFile, UnattendedInstallationCopiesTheProgramWhole) {
    seedFoundMachine(kMachine2018);
    AppProcess app = startWith(kQuiet);
    ASSERT_EQ(app.waitForExit(), 0u);

    const std::string uninstaller = joinPath(kDefaultProductFolder, kUninstaller);
    const std::optional<std::string> shipped = readFile(distribution.programPath());
    ASSERT_TRUE(shipped.has_value());
    EXPECT_EQ(readFile(uninstaller), shipped) << "Uninstall.exe differs from SetUp.exe";
    if (const char* copy = std::getenv("VARNOK_UNINSTALLER_COPY")) {
        ASSERT_TRUE(CopyFileA(uninstaller.c_str(), copy, FALSE)) << copy;
    }
}

}  // namespace
}  // namespace vk::e2e::setup
