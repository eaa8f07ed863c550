// The real SetUp.exe killed (TerminateProcess, as a crash or the task manager ends it) at
// points spread over the installation of a large Data folder, then run again and uninstalled:
// the machine is as it was before, every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr int kLargeFiles = 120;
constexpr std::size_t kLargeFileBytes = 512 * 1024;

class KilledInstall : public InstallRun {
protected:
    void addLargeFiles() const {
        const std::string content(kLargeFileBytes, 'x');
        for (int i = 0; i < kLargeFiles; ++i)
            writeFile(dataFile("Large" + std::to_string(i) + ".dat"), content);
    }
    // Everything an installation may change: the AutoCAD keys, Apps & Features and the files.
    std::string machine(const std::vector<std::string>& locations) const {
        return describeInstallation(locations) +
               RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, kAppsFeaturesKey).describe();
    }
    std::size_t installedFiles() const {
        return pathExists(kDefaultProductFolder) ? listFolder(kDefaultProductFolder).size() : 0;
    }
};

TEST_F(KilledInstall, RunAgainAndUninstalledTheMachineIsAsItWas) {
    // How many of the files are in the product folder when the process is killed.
    for (const std::size_t killedAt :
         {std::size_t{1}, std::size_t{40}, std::size_t{90}, std::size_t{kLargeFiles + 8}}) {
        SCOPED_TRACE("killed with " + std::to_string(killedAt) + " files in the product folder");
        const std::vector<std::string> locations = seedFoundMachine(kMachine2018);
        if (killedAt == 1)
            addLargeFiles();
        const std::string before = machine(locations);

        AppProcess first = startWith("/VERYSILENT /SUPPRESSMSGBOXES");
        first.waitUntil([&] { return installedFiles() >= killedAt || !first.running(); },
                        "the product folder to hold " + std::to_string(killedAt) + " files");
        ASSERT_TRUE(first.running()) << "the installation ended before it could be killed";
        first.kill();

        const std::string log = joinPath(distribution.folder(), "again.log");
        AppProcess again = startWith("/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + log + "\"");
        EXPECT_EQ(again.waitForExit(), 0u);
        // The run killed while it copied is taken back before anything else.
        const std::vector<std::string> lines = logLines(log);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("was interrupted: taking it back first") != std::string::npos ||
                   line.find("left by a run cut short") != std::string::npos;
        }));
        AppProcess uninstaller = startCommandLine(
            readRegistryString(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "QuietUninstallString")
                .value_or(""));
        EXPECT_EQ(uninstaller.waitForExit(), 0u);
        waitForUninstallCopies();
        EXPECT_EQ(machine(locations), before);
    }
}

}  // namespace
}  // namespace vk::e2e::setup
