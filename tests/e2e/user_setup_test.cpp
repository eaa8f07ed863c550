// The per-user steps on the real SetUp.exe: the Active Setup component an installation
// registers, and its stub run as Windows runs it at a user's logon. Wine has one user, so the
// stub is started here from the component's StubPath, as Windows would start it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Varnok.BatchPlot";
constexpr const char* kAutodeskUserKey = "Software\\Autodesk";

// The subsystem a program's PE header names (2: a window program, 3: a
// console one); -1 when the bytes are no PE image.
int PeSubsystem(const std::string& image) {
    const auto word = [&](std::size_t at, std::size_t size) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size && at + i < image.size(); ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[at + i]))
                     << (8 * i);
        return value;
    };
    const std::size_t header = word(0x3C, 4);                       // e_lfanew
    if (image.size() < header + 0x5E || word(header, 4) != 0x4550)  // "PE\0\0"
        return -1;
    return static_cast<int>(word(header + 24 + 68, 2));  // the optional header's Subsystem
}

std::string stubLog() {
    return joinPath(tempFolder(), "Varnok user setup.log");
}

std::string settingsFile() {
    return joinPath(settingsFolder(), "Varnok.Ini");
}

class UserSetup : public InstallRun {
protected:
    RegistryGuard runKey{HKEY_CURRENT_USER, kRunKey};
    std::string installedList;  // what the installation made of the profile's list (UTF-8)

    // Installs quietly on m1, then takes away what it gave this user, as a user who signs in
    // later finds the machine: the profile's list as the fixture has it, no settings file.
    void installForAnotherUser() {
        seedMachine(kMachine2018, {kAcad2018Folder});
        const std::string fixtureList =
            readRegistryString(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS").value_or("");
        AppProcess app = startWith("/VERYSILENT /SUPPRESSMSGBOXES");
        ASSERT_EQ(app.waitForExit(), 0u);
        installedList = trustedPathsOf(kAcad2018Variables);
        ASSERT_NE(installedList, toUtf8(fixtureList));
        ASSERT_TRUE(pathExists(settingsFile()));
        writeRegistryString(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS", fixtureList);
        removeTree(settingsFolder());
    }
    // A command line as Windows runs it at logon; its log is read back.
    std::vector<std::string> runAtLogon(const std::string& command) const {
        removeTree(stubLog());
        AppProcess stub = startCommandLine(command);
        EXPECT_EQ(stub.waitForExit(), 0u) << toUtf8(command);
        return logLines(stubLog());
    }
    std::string stubPath() const {
        return readRegistryString(HKEY_LOCAL_MACHINE, kActiveSetupKey, "StubPath").value_or("");
    }
    // Runs the Apps & Features entry's quiet uninstall to its end.
    void uninstallQuietly() const {
        AppProcess uninstaller = startCommandLine(
            readRegistryString(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "QuietUninstallString")
                .value_or(""));
        EXPECT_EQ(uninstaller.waitForExit(), 0u);
        waitForUninstallCopies();
    }
    // What the stub may change: this user's AutoCAD keys, Run key and settings file.
    static std::string userState() {
        return RegistrySnapshot::capture(HKEY_CURRENT_USER, kAutodeskUserKey).describe() +
               RegistrySnapshot::capture(HKEY_CURRENT_USER, kRunKey).describe() + "settings " +
               readFile(settingsFile()).value_or("(none)");
    }
};

// At the uninstall the component becomes the removal for the users it cannot
// reach: a higher version whose command is Windows' own PowerShell alone. (Wine's
// powershell.exe is an empty stub: what the script does cannot be run here.)
TEST_F(UserSetup, TheComponentNamesTheStubAndBecomesTheRemovalAtTheUninstall) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    AppProcess app = startWith("/VERYSILENT /SUPPRESSMSGBOXES");
    ASSERT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, kActiveSetupKey, "")->text, L"Varnok批打印软件");
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, kActiveSetupKey, "Version"), "2023,5,26,1");
    const std::string logonProgram = joinPath(kDefaultProductFolder, "UserSetup.exe");
    EXPECT_EQ(toUtf8(stubPath()), toUtf8("\"" + logonProgram + "\""));
    // Started at logon with no window and no console, and with the user's own rights.
    const std::string image = readFile(logonProgram).value_or("");
    EXPECT_EQ(PeSubsystem(image), 2) << "IMAGE_SUBSYSTEM_WINDOWS_GUI";
    EXPECT_NE(image.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(readRegistryDword(HKEY_LOCAL_MACHINE, kActiveSetupKey, "IsInstalled"), 1u);

    uninstallQuietly();
    EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, kActiveSetupKey, "Version"), "2023,5,26,2");
    EXPECT_TRUE(stubPath().starts_with(
        "\"C:\\windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "))
        << stubPath();
    EXPECT_TRUE(readRegistryText(HKEY_LOCAL_MACHINE, kActiveSetupKey, "RemovalScript").has_value());
}

TEST_F(UserSetup, TheStubGivesTheUserTheStepsOnceAndChangesNothingTheSecondTime) {
    installForAnotherUser();
    const std::vector<std::string> log = runAtLogon(stubPath());
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables), installedList);  // by the installation's rules
    EXPECT_EQ(readFile(settingsFile()), readFile(dataFile("Varnok.Ini")));
    EXPECT_FALSE(readRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue).has_value());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "Exit code 0");

    const std::string once = userState();
    runAtLogon(stubPath());
    EXPECT_EQ(userState(), once);

    // A profile made after the installation gets the entry from the stub alone, which no
    // record holds; the uninstall takes it away all the same.
    const std::string later =
        "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\Later\\Variables";
    createRegistryKey(HKEY_CURRENT_USER, later);
    runAtLogon(stubPath());
    ASSERT_EQ(trustedPathsOf(later), toUtf8(kDefaultProductFolder));
    uninstallQuietly();
    EXPECT_EQ(trustedPathsOf(later), "");
}

TEST_F(UserSetup, WithoutAProfileTheStubComesBackAtEachLogonUntilOneAppears) {
    installForAnotherUser();
    deleteRegistryTree(HKEY_CURRENT_USER, kAutodeskUserKey);  // AutoCAD never started
    runAtLogon(stubPath());
    const std::optional<std::string> again =
        readRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue);
    EXPECT_EQ(again, stubPath());
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, kAutodeskUserKey));
    EXPECT_FALSE(pathExists(settingsFolder()));

    // AutoCAD's first start makes the profile; the next logon runs the Run entry.
    createRegistryKey(HKEY_CURRENT_USER, kAcad2018Variables);
    runAtLogon(again.value_or(""));
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables), toUtf8(kDefaultProductFolder));
    EXPECT_EQ(readFile(settingsFile()), readFile(dataFile("Varnok.Ini")));
    EXPECT_FALSE(readRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue).has_value());
}

}  // namespace
}  // namespace vk::e2e::setup
