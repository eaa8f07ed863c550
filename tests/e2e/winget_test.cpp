// winget, as it runs the package: the command lines it builds from the manifest's installer
// switches (its default, --silent, --location) install, and the quiet uninstall it reads from
// the Apps & Features entry takes the installation away.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

// The InstallerSwitches of the manifest in the repository, by name.
std::map<std::string, std::string> manifestSwitches() {
    const std::optional<std::string> text = readFile(VARNOK_WINGET_INSTALLER_MANIFEST);
    if (!text)
        throw DriverError(std::string("cannot read ") + VARNOK_WINGET_INSTALLER_MANIFEST);
    std::map<std::string, std::string> switches;
    bool inSwitches = false;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        std::string line = text->substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.starts_with("  ")) {
            inSwitches = line == "InstallerSwitches:";
            continue;
        }
        const std::size_t colon = line.find(": ");
        if (inSwitches && colon != std::string::npos)
            switches[line.substr(2, colon - 2)] = line.substr(colon + 2);
    }
    return switches;
}

std::string replaced(std::string text, const std::string& token, const std::string& value) {
    const std::size_t at = text.find(token);
    if (at == std::string::npos)
        throw DriverError(std::string("no ") + token + " in \"" + text + "\"");
    return text.replace(at, token.size(), value);
}

struct WingetRun {
    const char* name;
    const char* mode;      // the manifest's switches for winget's mode
    const char* location;  // --location, or none
};

void PrintTo(const WingetRun& run, std::ostream* os) {
    *os << run.name;
}

class Winget : public InstallRun, public ::testing::WithParamInterface<WingetRun> {};

TEST_P(Winget, InstallsAndTheQuietUninstallStringRemoves) {
    const WingetRun& run = GetParam();
    const std::vector<std::string> locations = seedFoundMachine(kMachine2018);
    folders.watch("D:\\Apps");
    const std::string before = describeInstallation(locations);
    const std::map<std::string, std::string> switches = manifestSwitches();
    const std::string log = joinPath(distribution.folder(), "WinGet-Varnok.BatchPlot.log");
    std::string arguments =
        switches.at(run.mode) + " " + replaced(switches.at("Log"), "<LOGPATH>", log);
    if (run.location != nullptr) {
        arguments += ' ';
        arguments += replaced(switches.at("InstallLocation"), "<INSTALLPATH>", run.location);
    }

    AppProcess app = startWith(arguments);
    ASSERT_EQ(app.waitForExit(), 0u) << arguments;
    const std::string productDir =
        installFolderOf(run.location != nullptr ? run.location : kDefaultInstallFolder);
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(productDir, 2018));
    const std::vector<std::string> lines = logLines(log);
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "Exit code 0") != lines.end());

    const std::string quiet =
        readRegistryString(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "QuietUninstallString")
            .value_or("");
    AppProcess uninstall = startCommandLine(quiet);
    EXPECT_EQ(uninstall.waitForExit(), 0u) << quiet;
    waitForUninstallCopies();
    EXPECT_EQ(describeInstallation(locations), before);
    EXPECT_FALSE(pathExists(productDir));
}

INSTANTIATE_TEST_SUITE_P(, Winget,
                         ::testing::Values(WingetRun{"Default", "SilentWithProgress", nullptr},
                                           WingetRun{"Silent", "Silent", nullptr},
                                           WingetRun{"Location", "SilentWithProgress", "D:\\Apps"}),
                         [](const ::testing::TestParamInfo<WingetRun>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vk::e2e::setup
