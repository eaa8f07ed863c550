// Apps & Features, uninstall, rollback and installing again, on the real SetUp.exe: what an
// installation leaves is taken away again, and only that; what the user changed stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/digest.h"
#include "e2e/driver/host.h"
#include "e2e/driver/unique_handle.h"
#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kQuiet = "/VERYSILENT /SUPPRESSMSGBOXES";
constexpr const char* kGuide = "使用说明.txt";  // listed last in Data

std::string uninstallCommand(const char* value) {
    return readRegistryString(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, value).value_or("");
}

class Uninstall : public InstallRun {
protected:
    std::vector<std::string> seed(const std::string& fixture) {
        std::vector<std::string> locations = seedFoundMachine(fixture);
        folders.watch("D:\\Tools");
        return locations;
    }
    // Everything a run may change: the AutoCAD keys, Apps & Features and the files.
    // The record's seal follows the record, whose lines are not compared either.
    std::string machine(const std::vector<std::string>& locations) const {
        std::string entry =
            RegistrySnapshot::capture(HKEY_LOCAL_MACHINE, kAppsFeaturesKey).describe();
        if (const std::size_t seal = entry.find("  \"RecordSeal\""); seal != std::string::npos)
            entry.erase(seal, entry.find('\n', seal) + 1 - seal);
        return describeInstallation(locations) + entry +
               (pathExists("D:\\Tools") ? "D:\\Tools exists\n" : "");
    }
    void install(const std::string& arguments = "", DWORD exitCode = 0) const {
        AppProcess app = startWith(std::string(kQuiet) + " " + arguments);
        ASSERT_EQ(app.waitForExit(), exitCode) << arguments;
    }
    // The quiet uninstall, as a deployment tool runs it from the registry.
    void uninstall(DWORD exitCode = 0) const {
        AppProcess app = startCommandLine(uninstallCommand("QuietUninstallString"), codePage);
        EXPECT_EQ(app.waitForExit(), exitCode);
        waitForUninstallCopies();
    }
    std::string logFile() const { return joinPath(distribution.folder(), "setup log.txt"); }
};

class SampleMachines : public Uninstall, public ::testing::WithParamInterface<const char*> {};

TEST_P(SampleMachines, UninstallLeavesTheMachineAsItWasBeforeTheInstallation) {
    const std::vector<std::string> locations = seed(GetParam());
    const std::string before = machine(locations);
    install();
    ASSERT_NE(machine(locations), before);
    uninstall();
    EXPECT_EQ(machine(locations), before);
}

INSTANTIATE_TEST_SUITE_P(, SampleMachines,
                         ::testing::Values("registry/m1-chs-2018-x64.reg",
                                           "registry/m2-chs-2008x86-on-x64-plus-2014.reg",
                                           "registry/m4-enu-2020-2021-2022-plus-lt2022.reg"));

TEST_F(Uninstall, AppsFeaturesNamesTheAddInAndItsUninstaller) {
    seed(kMachine2018);
    install();
    const std::string uninstaller =
        std::string("\"") + kDefaultProductFolder + "\\" + kUninstaller + "\" /UNINSTALL";
    EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "DisplayName")->text,
              L"Varnok批打印软件");
    for (const auto& [name, value] :
         {std::pair<const char*, std::string>{"DisplayVersion", "2023.5.26"},
          {"Publisher", "Varnok"},
          {"InstallLocation", kDefaultProductFolder},
          {"DisplayIcon", std::string(kDefaultProductFolder) + "\\" + kUninstaller + ",0"},
          {"UninstallString", uninstaller},
          {"QuietUninstallString", uninstaller + " /VERYSILENT /SUPPRESSMSGBOXES"}}) {
        EXPECT_EQ(toUtf8(uninstallCommand(name)), toUtf8(value)) << name;
    }
    EXPECT_EQ(uninstallCommand("InstallDate").size(), 8u);
    EXPECT_GT(readRegistryDword(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "EstimatedSize").value_or(0),
              0u);
    EXPECT_EQ(readRegistryDword(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "NoModify"), 1u);
    EXPECT_EQ(readRegistryDword(HKEY_LOCAL_MACHINE, kAppsFeaturesKey, "NoRepair"), 1u);

    // Wine's own list of installed programs (its "uninstaller --list") shows it too.
    const std::string list = joinPath(distribution.folder(), "programs.txt");
    AppProcess lister =
        AppProcess::start("C:\\windows\\system32\\cmd.exe", {},
                          "/c C:\\windows\\system32\\uninstaller.exe --list > \"" + list + "\"");
    lister.waitForExit();
    EXPECT_NE(readFile(list).value_or("").find("Varnok"), std::string::npos)
        << readFile(list).value_or("(no list)");
}

TEST_F(Uninstall, TheUninstallStringAsksAndTellsThePerson) {
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string before = machine(locations);
    install();
    AppProcess app = startCommandLine(uninstallCommand("UninstallString"));
    // The questions come from the uninstaller's copy, which does the work, from a folder of
    // its own in %TEMP% whose name nobody could guess.
    const AppProcess copy = uninstallCopy();
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    ASSERT_TRUE(QueryFullProcessImageNameA(copy.handle(), 0, image, &size));
    const std::string folder = std::string(image, size).substr(0, size - 20);
    EXPECT_EQ(std::string(image, size).substr(size - 20), "\\VarnokUninstall.exe");
    EXPECT_EQ(folder.substr(0, folder.rfind('\\')), tempFolder());
    EXPECT_EQ(folder.substr(folder.rfind('\\') + 1).size(), 7u + 32u) << folder;
    Window box = copy.waitForMessageBox(kMessageCaption);
    EXPECT_EQ(toUtf8(box.messageText()), toUtf8("确实要卸载 Varnok批打印软件 吗？"));
    box.answer(IDYES);
    copy.waitUntilClosed(box);
    box = copy.waitForMessageBox(kMessageCaption);
    EXPECT_EQ(toUtf8(box.messageText()), toUtf8("Varnok批打印软件已从您的计算机中卸载。"));
    box.answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(copy.waitForExit(), 0u);
    EXPECT_EQ(machine(locations), before);
}

// Inno Setup's quiet uninstall forms, without /SUPPRESSMSGBOXES: nothing is asked, nothing
// waits for an answer.
// On a Western Windows (code page 1252 for programs that are not Unicode) as on a Chinese
// one: the same folder, LOADER and trusted path, and the quiet uninstall takes them away.
TEST_F(Uninstall, TheRoundTripAtCodePage1252IsTheChineseOne) {
    codePage = 1252;
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string before = machine(locations);
    install();
    EXPECT_EQ(folderNamesWide("C:\\Varnok"), std::vector<std::wstring>{L"Varnok批打印软件"});
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables),
              toUtf8(";C:\\PROGRAM FILES (X86)\\VENDORB\\TOOLB\\0.10.1.58;"
                     "C:\\VARNOK\\VARNOK批打印软件"));
    uninstall();
    EXPECT_EQ(machine(locations), before);
}

TEST_F(Uninstall, InnoSetupsQuietFormsAskNothing) {
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string before = machine(locations);
    for (const char* quiet : {"/VERYSILENT", "/SILENT /NORESTART"}) {
        SCOPED_TRACE(quiet);
        install();
        AppProcess app = startCommandLine(uninstallCommand("UninstallString") + " " + quiet);
        EXPECT_EQ(app.waitForExit(), 0u);
        waitForUninstallCopies();
        EXPECT_EQ(machine(locations), before);
    }
}

TEST_F(Uninstall, NoToTheQuestionRemovesNothing) {
    const std::vector<std::string> locations = seed(kMachine2018);
    install();
    const std::string installed = machine(locations);
    AppProcess app = startCommandLine(uninstallCommand("UninstallString"));
    const AppProcess copy = uninstallCopy();
    const Window box = copy.waitForMessageBox(kMessageCaption);
    // The copy holds the one-setup lock while it works.
    AppProcess second = startWith(kQuiet);
    EXPECT_EQ(second.waitForExit(), 1618u);
    box.answer(IDNO);
    EXPECT_EQ(app.waitForExit(), 2u);
    EXPECT_EQ(copy.waitForExit(), 2u);
    EXPECT_EQ(machine(locations), installed);
}

TEST_F(Uninstall, InstallingTwiceIntoOneFolderEqualsInstallingOnce) {
    const std::vector<std::string> locations = seed(kMachine2018);
    install();
    const std::string once = machine(locations);
    install();
    EXPECT_EQ(machine(locations), once);
    uninstall();
    EXPECT_FALSE(pathExists(kDefaultInstallFolder));
}

TEST_F(Uninstall, InstallingIntoAnotherFolderRemovesTheFirst) {
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string before = machine(locations);
    install();
    install("/DIR=D:\\Tools /LOG=\"" + logFile() + "\"");
    EXPECT_FALSE(pathExists(kDefaultInstallFolder));
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf("D:\\Tools\\Varnok批打印软件", 2018));
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables).find("C:\\VARNOK"), std::string::npos);
    EXPECT_EQ(toUtf8(uninstallCommand("InstallLocation")), toUtf8("D:\\Tools\\Varnok批打印软件"));
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with(
            toUtf8("Removing the earlier installation in C:\\Varnok\\Varnok批打印软件"));
    }));
    // The wizard starts where the installation is now.
    AppProcess wizard = start();
    EXPECT_EQ(goToPage3(wizard).control(kFolder).text(), "D:\\Tools");
    wizard.kill();
    uninstall();
    EXPECT_EQ(machine(locations), before);
}

TEST_F(Uninstall, WhatTheUserChangedStays) {
    const std::vector<std::string> locations = seed(kMachine2018);
    install();
    const std::string mine = joinPath(kDefaultProductFolder, "my notes.txt");
    writeFile(mine, "the user's own");
    const std::string changed = joinPath(kDefaultProductFolder, "ReadMe.txt");
    writeFile(changed, "changed by the user");
    const std::string trusted =
        readRegistryString(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS").value_or("");
    writeRegistryString(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS",
                        "E:\\MINE;" + trusted.substr(trusted.find(';') + 1));

    uninstall();
    EXPECT_EQ(listFolder(kDefaultProductFolder),
              (std::vector<std::string>{"ReadMe.txt", "my notes.txt"}));
    EXPECT_EQ(readFile(changed), "changed by the user");
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables),
              "E:\\MINE;C:\\PROGRAM FILES (X86)\\VENDORB\\TOOLB\\0.10.1.58");
    EXPECT_TRUE(demandLoadKeys().empty());
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, kAppsFeaturesKey));
}

TEST_F(Uninstall, AnAbortedInstallationLeavesTheMachineAsItWas) {
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string before = machine(locations);
    folders.make(kDefaultProductFolder);
    writeFile(joinPath(kDefaultProductFolder, kGuide), "an old guide");
    const std::string withGuide = machine(locations);
    UniqueHandle held(CreateFileA(joinPath(kDefaultProductFolder, kGuide).c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);

    install("", 5);
    held.reset();
    EXPECT_EQ(machine(locations), withGuide);
    EXPECT_NE(withGuide, before);
}

TEST_F(Uninstall, WithoutItsAppsFeaturesEntryTheUninstallerRemovesNothing) {
    const std::vector<std::string> locations = seed(kMachine2018);
    install();
    const std::string command = uninstallCommand("QuietUninstallString");
    deleteRegistryTree(HKEY_LOCAL_MACHINE, kAppsFeaturesKey);
    const std::string installed = machine(locations);

    AppProcess app = startCommandLine(command + " /LOG=\"" + logFile() + "\"");
    EXPECT_EQ(app.waitForExit(), 1u);
    EXPECT_EQ(machine(locations), installed);
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("Stopped: no Apps & Features entry");
    }));
}

// A record that is not as the installation left it: the uninstall ends 1 and removes nothing,
// so that it can be tried again once the record is sound.
TEST_F(Uninstall, ARecordNotAsTheInstallationLeftItStopsTheUninstall) {
    const struct {
        const char* what;
        std::string (*change)(std::string);
        const char* logged;
    } cases[] = {
        {"one byte of a file's path",
         [](std::string text) {
             text[text.find("\nfile\t") + 8] ^= 1;
             return text;
         },
         "is damaged"},
        {"cut in the middle of a line, the lines after it lost",
         [](std::string text) { return text.substr(0, text.find("\ndemandload\t") + 12); },
         "it is not as the installation left it"},
        {"another identifier",
         [](std::string text) {
             text.replace(text.find('\t') + 1, 32, std::string(32, 'f'));
             return text;
         },
         "was not written by this installation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> locations = seed(kMachine2018);
        install();
        const std::string record = joinPath(kDefaultProductFolder, kRecord);
        writeFile(record, c.change(readFile(record).value_or("")));
        const std::string changed = machine(locations);
        removeTree(logFile());

        AppProcess app = startCommandLine(uninstallCommand("QuietUninstallString") + " /LOG=\"" +
                                          logFile() + "\"");
        EXPECT_EQ(app.waitForExit(), 1u);
        waitForUninstallCopies();
        EXPECT_EQ(machine(locations), changed);
        const std::vector<std::string> lines = logLines(logFile());
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(c.logged) != std::string::npos;
        })) << c.logged;
    }
}

// A standard user may make folders in C:\ProgramData. One plants a product folder with a record
// whose one line, well formed and with its check, would put a file of theirs over a file of
// the machine's: the installation there, run as administrator, starts its own record, and its
// uninstall never acts on the planted line.
TEST_F(Uninstall, APlantedRecordIsNeverActedOn) {
    seed(kMachine2018);
    const std::string product = "C:\\ProgramData\\Varnok批打印软件";
    const std::string target = "C:\\users\\Public\\target.txt";
    const std::string payload = "C:\\users\\Public\\payload.txt";
    const CreatedPathGuard targetGuard(target);
    const CreatedPathGuard payloadGuard(payload);
    folders.make(product);
    writeFile(target, "the machine's");
    writeFile(payload, "the user's");
    const std::string line = "file\t" + target + "\t" + payload + "\t0";
    writeFile(joinPath(product, kRecord), "Varnok setup record 3\t" + std::string(32, 'a') + "\n" +
                                              line + "\t#" + NumberHex(Crc32(line), 8) + "\n");

    install("/DIR=C:\\ProgramData");
    EXPECT_EQ(readFile(joinPath(product, kRecord)).value_or("").find(target), std::string::npos);
    uninstall();
    EXPECT_EQ(readFile(target), "the machine's");
    EXPECT_EQ(readFile(payload), "the user's");
}

// Another signed-in user whose Roaming\Varnok is a link to someone else's folder: the
// installation and the uninstall, with administrator rights, never follow it (that user's
// settings file is the per-user setup's to place, run as that user).
TEST_F(Uninstall, AnotherUsersLinkedSettingsFolderIsNeverFollowed) {
    const std::string sid = "S-1-5-21-7-7-7-1001";
    const std::string profileKey =
        "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + sid;
    const RegistryGuard hive{HKEY_USERS, sid};
    const RegistryGuard profile{HKEY_LOCAL_MACHINE, profileKey};
    seed(kMachine2018);
    const std::string roaming = "C:\\users\\other\\AppData\\Roaming";
    const std::string victim = "C:\\users\\Public\\victim";
    folders.make(roaming);
    folders.make(victim);
    writeFile(joinPath(victim, "Varnok.Ini"), "the victim's");
    const HostLink link(joinPath(roaming, "Varnok"), victim);
    writeRegistryString(HKEY_LOCAL_MACHINE, profileKey, "ProfileImagePath", "C:\\users\\other");
    writeRegistryString(HKEY_USERS,
                        sid +
                            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                            "Shell Folders",
                        "AppData", roaming);

    install();
    uninstall();
    EXPECT_EQ(listFolder(victim), std::vector<std::string>{"Varnok.Ini"});
    EXPECT_EQ(readFile(joinPath(victim, "Varnok.Ini")), "the victim's");
}

// A font of the same name in AutoCAD's Fonts folder is replaced by the add-in's, and the
// uninstall puts it back.
TEST_F(Uninstall, AFontThatWasThereComesBack) {
    const std::vector<std::string> locations = seed(kMachine2018);
    const std::string font = joinPath(joinPath(locations.at(0), "Fonts"), "Varnok_EN.shx");
    writeFile(font, "a font of the user's");
    const std::string before = machine(locations);
    install();
    EXPECT_EQ(readFile(font), readFile(dataFile("Varnok_EN.shx")));
    uninstall();
    EXPECT_EQ(machine(locations), before);
}

}  // namespace
}  // namespace vk::e2e::setup
