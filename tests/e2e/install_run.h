#pragma once
// What the end-to-end installation tests share: a machine whose changes are undone when the
// test ends, a distribution to start SetUp.exe from, the wizard's steps up to and through the
// install page, and the checks of what an installation leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/created_folders.h"
#include "e2e/driver/driver.h"
#include "e2e/setup/machine_state.h"
#include "e2e/setup/setup_ui.h"

namespace vk::e2e::setup {

inline constexpr const char* kProductFolderName = "Varnok批打印软件";
inline constexpr const char* kDefaultProductFolder = "C:\\Varnok\\Varnok批打印软件";
inline constexpr const char* kPickerCaption = "请选择安装目录：";
inline constexpr const char* kAppName = "SetUp";  // caption of the framework's own boxes
inline constexpr int kUnnamedStatic = -1;         // the first one: page 4's text

// The add-in's entry in Apps & Features.
inline constexpr const char* kAppsFeaturesKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnokBatchPlot";
// The Active Setup component that gives users who sign in later their per-user steps.
inline constexpr const char* kActiveSetupKey =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Varnok.BatchPlot";
// The installation's own files in the product folder, beside the add-in's.
inline constexpr const char* kUninstaller = "Uninstall.exe";
inline constexpr const char* kRecord = "Uninstall.rec";
inline constexpr const char* kLogonProgram = "UserSetup.exe";

// The sample machine m1: AutoCAD 2018 on D:, one profile.
inline constexpr const char* kMachine2018 = "registry/m1-chs-2018-x64.reg";
inline constexpr const char* kAcad2018Folder = "D:\\Program Files\\Autodesk\\AutoCAD 2018";
inline constexpr const char* kAcad2018Key = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804";
inline constexpr const char* kAcad2018Variables =
    "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\<<未命名配置>>\\Variables";

class InstallRun : public ::testing::Test {
protected:
    // Whatever the test or the program does to these is undone when the test ends.
    RegistryGuard machineKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk"};
    RegistryGuard wowKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk"};
    RegistryGuard userKeys{HKEY_CURRENT_USER, "Software\\Autodesk"};
    RegistryGuard appsFeatures{HKEY_LOCAL_MACHINE, kAppsFeaturesKey};
    RegistryGuard activeSetup{HKEY_LOCAL_MACHINE, kActiveSetupKey};
    CreatedPathGuard installFolder{kDefaultInstallFolder};
    CreatedPathGuard settings{settingsFolder()};
    CreatedFolders folders;
    Distribution distribution{setupProgram(), sampleDataFolder()};

    // Imports a registry fixture on a machine without AutoCAD keys and without the add-in's
    // Apps & Features entry, and makes the Fonts and Drv folders of the AutoCAD installations
    // it names.
    void seedMachine(const std::string& regFixture, const std::vector<std::string>& acadFolders);
    // The same, with the Fonts and Drv folders of every AutoCAD the fixture names; gives their
    // install folders.
    std::vector<std::string> seedFoundMachine(const std::string& regFixture);

    // The code page for programs that are not Unicode SetUp.exe starts with: 0 for the
    // machine's (936), else 950 or 1252 (AppProcess::startAtCodePage).
    unsigned codePage = 0;

    AppProcess start() const;
    // SetUp.exe with a command line (after the program's name).
    AppProcess startWith(const std::string& arguments) const;
    std::string dataFile(const std::string& name) const;
};

// The "AcadLocation" of every AutoCAD product in the registry, both views.
std::vector<std::string> acadLocations();

// Everything an installation leaves, as text to compare two runs by: the AutoCAD keys of
// both views and of the user, the install and settings folders and the Fonts and Drv
// folders of `acadFolders`, each file with its content.
std::string describeInstallation(const std::vector<std::string>& acadFolders);

// Takes away what an installation left in those places; `registry` is what the AutoCAD
// keys held before it.
void undoInstallation(const std::vector<RegistrySnapshot>& registry,
                      const std::vector<std::string>& acadFolders);

// The AutoCAD keys of both views and of the user, as a run finds them.
std::vector<RegistrySnapshot> autodeskKeys();

// A log file's lines (UTF-8, as SetUp.exe writes it) without their time stamps.
std::vector<std::string> logLines(const std::string& path);

// A command line as the registry keeps it ("C:\...\Uninstall.exe" /UNINSTALL), started;
// at `codePage` unless it is 0.
AppProcess startCommandLine(const std::string& commandLine, unsigned codePage = 0);

// Waits until no copy of the uninstaller runs in the temporary folder any more.
void waitForUninstallCopies();

// The copy of the uninstaller that does the work (it asks the questions), once it runs.
AppProcess uninstallCopy();

// Agreement accepted and the releases found (checked by default) taken: page 3.
Window goToPage3(const AppProcess& app);

// Clicks a button and waits for the window it leads to.
Window clickFor(const AppProcess& app, const Control& button, const WindowQuery& next);

// The folder picker that "浏览..." opens: the shell's browser with the edit box added above
// its tree.
inline constexpr int kPickerTree = 14145;
inline constexpr int kPickerEdit = 14148;
WindowQuery picker();

// Presses "安  装" and waits for page 4.
Window installFor4(const AppProcess& app, const Window& page3);

// Presses "安  装" and waits for the box it raises, by caption.
Window installForBox(const AppProcess& app, const Window& page3, const std::string& caption);

// The install folder made of a folder typed on page 3.
std::string installFolderOf(std::string typed);

// "<folder>\VK_BatchPlot<module>.ARX".
std::string loaderOf(const std::string& installFolder, int module);

// The folder holds the add-in's files of Data (the three libraries renamed, the settings file
// too), the uninstaller and the installation record and nothing else, and the settings file
// sits in %APPDATA%\Varnok.
void expectProgramFiles(const std::string& installFolder, const std::string& dataFolder);

// The longest name, in bytes, of the files of Data that go into the install folder, under the
// names they are deployed as.
size_t longestDeployedName(const std::string& dataFolder);

// The fonts (and, for 2008, the plotter driver) in an AutoCAD installation.
void expectSupportFiles(const std::string& acadFolder, const std::string& dataFolder,
                        bool withDriver);

// Applications\VK_BatchPlot<year> below a product key (HKLM), with exactly its two values.
void expectDemandLoadKey(const std::string& productKey, int year, const std::string& loader);

// A profile's "TRUSTEDPATHS" below its Variables key (HKCU), UTF-8; "(none)" when missing.
std::string trustedPathsOf(const std::string& variablesKey);

// The names in a folder as Windows keeps them (UTF-16), sorted, without "." and "..".
std::vector<std::wstring> folderNamesWide(const std::string& folder);

// The names of a key's values.
std::vector<std::string> registryValueNames(HKEY root, const std::string& path);

}  // namespace vk::e2e::setup
