// The unattended run of the real SetUp.exe: /VERYSILENT does what the wizard's typical run
// does, refusals change nothing and end with their exit codes, failures end with theirs and
// are named in the log, and one setup runs at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver/unique_handle.h"
#include "e2e/install_run.h"
#include "wine_machine.h"

namespace vk::e2e::setup {
namespace {

constexpr const char* kQuiet = "/VERYSILENT /SUPPRESSMSGBOXES";
constexpr const char* kMachine2020To2022 = "registry/m4-enu-2020-2021-2022-plus-lt2022.reg";
constexpr const char* kMachine2025 = "registry/m5-enu-2025-x64.reg";
constexpr const char* kMachine2018And2026 = "registry/m6-chs-2018-plus-2026-x64.reg";

// Open with no sharing, as a program that keeps the file to itself.
UniqueHandle hold(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw DriverError(withLastError("could not hold \"" + toUtf8(path) + "\""));
    return file;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class Unattended : public InstallRun {
protected:
    std::string logFile() const { return joinPath(distribution.folder(), "setup log.txt"); }
    std::string logSwitch() const { return " /LOG=\"" + logFile() + "\""; }
};

class SampleMachines : public Unattended, public ::testing::WithParamInterface<const char*> {};

TEST_P(SampleMachines, VerySilentLeavesWhatTheWizardsTypicalRunLeaves) {
    const std::vector<std::string> locations = seedFoundMachine(GetParam());
    const std::vector<RegistrySnapshot> seeded = autodeskKeys();

    AppProcess wizard = startWith(logSwitch());
    installFor4(wizard, goToPage3(wizard)).control(IDOK).click();
    ASSERT_EQ(wizard.waitForExit(), 0u);
    const std::string byWizard = describeInstallation(locations);
    // The log works in a wizard run too.
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, "Demand load HKLM\\")) << joined(lines);
    EXPECT_TRUE(hasLine(lines, "The wizard ended")) << joined(lines);
    undoInstallation(seeded, locations);

    AppProcess quiet = startWith(kQuiet);
    EXPECT_EQ(quiet.waitForExit(), 0u);
    EXPECT_EQ(describeInstallation(locations), byWizard);
}

INSTANTIATE_TEST_SUITE_P(, SampleMachines,
                         ::testing::Values("registry/m1-chs-2018-x64.reg",
                                           "registry/m2-chs-2008x86-on-x64-plus-2014.reg",
                                           kMachine2020To2022));

// What a refused run finds; each leaves the machine as it was.
enum class Arrange {
    Nothing,
    NoDataFolder,
    AutocadRunning,
    LinkedFolder,  // kLinkedFolder: a Unix symbolic link to an empty folder
    SharedFolder,  // kSharedFolder: a folder every user may change (Unix mode o+w)
};

constexpr const char* kLinkedFolder = "C:\\VarnokLinked";
constexpr const char* kSharedFolder = "C:\\VarnokShared";

struct Refusal {
    const char* name;
    const char* machine;  // a sample machine, or none: no AutoCAD at all
    Arrange arrange;
    const char* arguments;  // after kQuiet
    DWORD exitCode;
    const char* logged;  // a part of the log's line that says why
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
    *os << refusal.name;
}

class Refusals : public Unattended, public ::testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, EndWithTheirExitCodeAndChangeNothing) {
    const Refusal& refusal = GetParam();
    if (refusal.machine == nullptr) {
        ASSERT_TRUE(systest::ClearAutodeskKeys());
    } else {
        seedFoundMachine(refusal.machine);
    }
    if (refusal.arrange == Arrange::NoDataFolder) {
        ASSERT_TRUE(removeTree(distribution.dataFolder()));
    }
    // The folder the refused installation would have written into: it stays empty.
    std::string untouched;
    std::optional<HostLink> link;
    if (refusal.arrange == Arrange::LinkedFolder) {
        untouched = joinPath(distribution.folder(), "link target");
        folders.make(untouched);
        link.emplace(kLinkedFolder, untouched);
    }
    if (refusal.arrange == Arrange::SharedFolder) {
        untouched = kSharedFolder;
        folders.make(untouched);
        runOnHost("chmod o+w " + shellQuoted(hostPathOf(untouched)));
    }
    std::optional<AppProcess> autocad;
    if (refusal.arrange == Arrange::AutocadRunning) {
        const std::string acad = joinPath(distribution.folder(), "acad.exe");
        ASSERT_TRUE(
            CopyFileA(joinPath(programFolder(), "acad_stand_in.exe").c_str(), acad.c_str(), FALSE));
        autocad.emplace(AppProcess::start(acad));
    }
    const MachineState before = MachineState::capture();

    AppProcess app = startWith(std::string(kQuiet) + " " + refusal.arguments + logSwitch());
    EXPECT_EQ(app.waitForExit(), refusal.exitCode);

    EXPECT_EQ(MachineState::capture().describe(), before.describe());
    if (!untouched.empty()) {
        EXPECT_EQ(listFolder(untouched), std::vector<std::string>{});
    }
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, toUtf8(refusal.logged))) << joined(lines);
    EXPECT_TRUE(hasLine(lines, "Exit code " + std::to_string(refusal.exitCode))) << joined(lines);
    if (autocad) {
        EXPECT_TRUE(hasLine(lines, "acad.exe (process " + std::to_string(autocad->id()) + ")"))
            << joined(lines);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , Refusals,
    ::testing::Values(
        Refusal{"UnknownSwitches", kMachine2018, Arrange::Nothing, "/FOO /SP- /BAR=1", 1,
                "Stopped: the command line cannot be used: unknown switches: /FOO /BAR=1"},
        Refusal{"RelativeFolder", kMachine2018, Arrange::Nothing, "/DIR=Varnok", 1,
                "Stopped: the install folder is not a full path"},
        Refusal{"YearNotOffered", kMachine2018, Arrange::Nothing, "/RELEASES=2021", 1,
                "Stopped: AutoCAD 2021 is not installed on this machine"},
        Refusal{"NoDataFolder", kMachine2018, Arrange::NoDataFolder, "", 1,
                "Stopped: no Data folder beside the setup program"},
        Refusal{"AutocadRunning", kMachine2018, Arrange::AutocadRunning, "", 7,
                "Stopped: AutoCAD is running: acad.exe (process "},
        Refusal{"NoAutocadToServe", nullptr, Arrange::Nothing, "", 9,
                "Stopped: no AutoCAD release on this machine that this setup can install"},
        // AutoCAD 2025 without its module in Data: left out, and named.
        Refusal{"OnlyAReleaseWithoutItsModule", kMachine2025, Arrange::Nothing, "", 9,
                "Left out AutoCAD 2025: Data has no VK_BatchPlot2025.ARX"},
        Refusal{"AReleaseWithoutItsModuleNamed", kMachine2025, Arrange::Nothing, "/RELEASES=2025",
                1, "Stopped: AutoCAD 2025 needs VK_BatchPlot2025.ARX, which Data lacks"},
        Refusal{"ALinkInThePath", kMachine2018, Arrange::LinkedFolder, "/DIR=C:\\VarnokLinked\\Sub",
                1,
                "Stopped: a folder of the install path is a symbolic link or junction: "
                "C:\\VarnokLinked"},
        Refusal{"AFolderOthersMayChange", kMachine2018, Arrange::SharedFolder,
                "/DIR=C:\\VarnokShared", 1,
                "Stopped: a standard user could replace or add to a folder of the install path: "
                "C:\\VarnokShared"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// A /LOG name that is not a plain file of one name: the run would write (and first empty)
// whatever it leads to, as an administrator. Wine shows a Unix symbolic link to a file as
// the plain file it points to, so links to folders and hard links stand for every link here.
enum class LogName { HardLink, FolderLink, Folder };

struct RefusedLog {
    const char* name;
    LogName kind;
};

void PrintTo(const RefusedLog& refused, std::ostream* os) {
    *os << refused.name;
}

class RefusedLogs : public Unattended, public ::testing::WithParamInterface<RefusedLog> {};

TEST_P(RefusedLogs, EndWithOneAndLeaveWhatTheNameLeadsTo) {
    seedFoundMachine(kMachine2018);
    const std::string target = joinPath(distribution.folder(), "target");
    std::optional<HostLink> link;
    switch (GetParam().kind) {
        case LogName::HardLink:
            writeFile(target, "a file the user may not write");
            runOnHost("ln " + shellQuoted(hostPathOf(target)) + " " +
                      shellQuoted(hostPathOf(distribution.folder()) + "/setup log.txt"));
            break;
        case LogName::FolderLink:
            folders.make(target);
            link.emplace(logFile(), target);
            break;
        case LogName::Folder:
            folders.make(logFile());
            break;
    }
    const MachineState before = MachineState::capture();

    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 1u);

    EXPECT_EQ(MachineState::capture().describe(), before.describe());
    if (GetParam().kind == LogName::HardLink) {
        EXPECT_EQ(readFile(target), "a file the user may not write");
    } else {
        EXPECT_EQ(listFolder(GetParam().kind == LogName::Folder ? logFile() : target),
                  std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(, RefusedLogs,
                         ::testing::Values(RefusedLog{"HardLink", LogName::HardLink},
                                           RefusedLog{"FolderLink", LogName::FolderLink},
                                           RefusedLog{"Folder", LogName::Folder}),
                         [](const ::testing::TestParamInfo<RefusedLog>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Unattended, ReleasesInstallsOnlyTheYearsNamed) {
    seedFoundMachine(kMachine2020To2022);
    AppProcess app = startWith(std::string(kQuiet) + " /RELEASES=2021");
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(demandLoadKeys(), std::vector<std::string>{"SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\"
                                                         "ACAD-4101:409\\Applications\\"
                                                         "VK_BatchPlot2021"});
}

TEST_F(Unattended, AllInstallsWhatThePackageServesAndLeavesOutTheRest) {
    seedFoundMachine(kMachine2018And2026);
    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(demandLoadKeys(), std::vector<std::string>{std::string(kAcad2018Key) +
                                                         "\\Applications\\VK_BatchPlot2018"});
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, "Left out AutoCAD 2026: Data has no VK_BatchPlot2025.ARX"))
        << joined(lines);
}

TEST_F(Unattended, RunningAutocadIsNoObstacleWithAllowRunning) {
    seedFoundMachine(kMachine2018);
    const std::string acad = joinPath(distribution.folder(), "acad.exe");
    ASSERT_TRUE(
        CopyFileA(joinPath(programFolder(), "acad_stand_in.exe").c_str(), acad.c_str(), FALSE));
    const AppProcess autocad = AppProcess::start(acad);
    AppProcess app = startWith(std::string(kQuiet) + " /ALLOWRUNNING");
    EXPECT_EQ(app.waitForExit(), 0u);
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
}

TEST_F(Unattended, AFailedStepEndsWithFourAndIsNamedInTheLog) {
    seedFoundMachine(kMachine2018);
    const std::string font = joinPath(kAcad2018Folder, "Fonts\\Varnok_HZ.shx");
    writeFile(font, "a font AutoCAD holds open");
    const UniqueHandle held = hold(font);

    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 4u);
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, "FAILED: copy ")) << joined(lines);
    EXPECT_TRUE(hasLine(lines, toUtf8(font))) << joined(lines);
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
}

TEST_F(Unattended, ACopyFailureAbortsWithFiveAndTheLogNamesTheFile) {
    seedFoundMachine(kMachine2018);
    folders.make(kDefaultProductFolder);
    const std::string readMe = joinPath(kDefaultProductFolder, "ReadMe.txt");
    writeFile(readMe, "an old read-me");
    const UniqueHandle held = hold(readMe);

    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 5u);
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, "FAILED: copy ")) << joined(lines);
    EXPECT_TRUE(hasLine(lines, toUtf8(readMe))) << joined(lines);
    EXPECT_TRUE(demandLoadKeys().empty());
}

TEST_F(Unattended, SilentShowsItsProgressWindowAndStillAsks) {
    seedFoundMachine(kMachine2018);
    folders.make(kDefaultProductFolder);
    const std::string readMe = joinPath(kDefaultProductFolder, "ReadMe.txt");
    writeFile(readMe, "an old read-me");
    const UniqueHandle held = hold(readMe);

    AppProcess app = startWith("/SILENT");
    const Window window = app.waitForWindow(
        {"the progress window", kPageCaption, "#32770", {kProgress}, {kFolder, IDOK}});
    const Window question = app.waitForMessageBox(kMessageCaption);
    EXPECT_TRUE(toUtf8(question.messageText()).starts_with(toUtf8("拷贝文件 ")));
    EXPECT_TRUE(window.visible());
    question.answer(IDABORT);
    app.waitUntilClosed(question);
    const Window rolledBack = app.waitForMessageBox(kMessageCaption);
    EXPECT_TRUE(toUtf8(rolledBack.messageText()).starts_with(toUtf8("安装已中止。")));
    rolledBack.answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 5u);
}

TEST_F(Unattended, TheLogTellsTheWholeRun) {
    seedFoundMachine(kMachine2018);
    AppProcess app = startWith(std::string(kQuiet) + " /SP- /PASSWORD=secret" + logSwitch());
    EXPECT_EQ(app.waitForExit(), 0u);
    // UTF-8 with its byte-order mark, as Inno Setup writes its log.
    EXPECT_TRUE(readFile(logFile()).value_or("").starts_with("\xEF\xBB\xBF"));
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_FALSE(hasLine(lines, "secret")) << joined(lines);
    for (const std::string& part :
         {// The header: what an administrator who cannot see the machine needs.
          std::string("Varnok setup 2023.5.26 (64-bit), process "), std::string("Command line: "),
          std::string(" /VERYSILENT /SUPPRESSMSGBOXES /SP- "), std::string("/PASSWORD=*** "),
          std::string("Windows "), std::string("Architecture: x64"), std::string("Account: "),
          std::string("elevated: "), std::string(", session "), std::string("Local time: "),
          std::string(" UTC"), toUtf8("Source folder: " + distribution.folder()),
          std::string("Switch /SP-: there is no start-up prompt to disable"),
          toUtf8("Found AutoCAD 2018: \"AutoCAD 2018 - 简体中文 (Simplified Chinese)\" in " +
                 std::string(kAcad2018Folder) + ", key HKLM\\" + kAcad2018Key),
          // Each folder made is made with its descriptor (Wine keeps none to read back).
          std::string("Created C:\\Varnok, protected: owner Administrators, full control"),
          toUtf8("Created " + std::string(kDefaultProductFolder) +
                 ", protected: owner Administrators, full control for SYSTEM and Administrators"),
          toUtf8("Copied " + dataFile("Varnok.prt7") + " to " +
                 joinPath(kDefaultProductFolder, "itextsharp.dll")),
          toUtf8("Demand load HKLM\\" + std::string(kAcad2018Key) +
                 "\\Applications\\VK_BatchPlot2018: was none; now LOADCTRLS 2, LOADER \"" +
                 loaderOf(kDefaultProductFolder, 2018) + "\""),
          // Wine's one user: its hive is HKEY_USERS\S-1-5-21-0-0-0-1000.
          toUtf8("TRUSTEDPATHS in HKU\\S-1-5-21-0-0-0-1000\\SOFTWARE\\Autodesk\\AutoCAD\\"
                 "R22.0\\ACAD-1001:804\\Profiles\\<<未命名配置>>\\Variables: was \""),
          std::string("Exit code 0")}) {
        EXPECT_TRUE(hasLine(lines, part)) << part << "\n" << joined(lines);
    }
}

// A line Windows has to take apart: no box waits for an answer in a silent run, which ends at
// once and says why in the log it names, or else in a new one in %TEMP%.
TEST_F(Unattended, AnUnbalancedQuoteEndsASilentRunAtOnceWithALog) {
    seedFoundMachine(kMachine2018);
    const MachineState before = MachineState::capture();
    const auto tempLogs = [] {
        std::vector<std::string> names;
        for (const std::string& name : listFolder(tempFolder())) {
            if (name.starts_with("Varnok Setup Log "))
                names.push_back(name);
        }
        return names;
    };
    for (const bool named : {true, false}) {
        SCOPED_TRACE(named ? "/LOG named" : "no /LOG");
        const std::vector<std::string> earlier = tempLogs();
        AppProcess app =
            startWith("/VERYSILENT" + (named ? logSwitch() : std::string()) + " /DIR=\"C:\\Varnok");
        EXPECT_EQ(app.waitForExit(5000), 1u);
        std::string log = logFile();
        if (!named) {
            std::vector<std::string> added = tempLogs();
            std::erase_if(added, [&](const std::string& name) {
                return std::find(earlier.begin(), earlier.end(), name) != earlier.end();
            });
            ASSERT_EQ(added.size(), 1u);
            log = joinPath(tempFolder(), added[0]);
        }
        const std::vector<std::string> lines = logLines(log);
        EXPECT_TRUE(hasLine(lines,
                            "Stopped: the command line cannot be used: a double quote is "
                            "not closed: /DIR=C:\\Varnok"))
            << joined(lines);
        EXPECT_TRUE(hasLine(lines, "Exit code 1")) << joined(lines);
        if (!named)
            removeTree(log);
    }
    EXPECT_EQ(MachineState::capture().describe(), before.describe());
}

// The log is written from wide text: a user's trusted path in a script the system's code page
// lacks reads in the log as the registry holds it.
TEST_F(Unattended, AKoreanTrustedPathReadsInTheLogAsStored) {
    seedFoundMachine(kMachine2018);
    const std::wstring korean = L"D:\\한글\\lisp";
    writeRegistryText(HKEY_CURRENT_USER, kAcad2018Variables, "TRUSTEDPATHS", REG_SZ, korean);
    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 0u);
    const auto utf8 = [](const std::wstring& text) {
        char bytes[64] = {};
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
        return std::string(bytes);
    };
    // Entries are written back upper-cased, as the trusted-path rules do.
    const std::string was = ": was \"" + utf8(korean) + "\"; now \"";
    const std::string now = utf8(L"D:\\한글\\LISP;");
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        const std::size_t at = line.find(was);
        return at != std::string::npos && line.find(now, at + was.size()) != std::string::npos;
    })) << joined(lines);
}

// Wine shows links to folders only; links to files are tested on the memory services.
TEST_F(Unattended, ALinkInDataIsNotCopiedAndTheLogSaysSo) {
    seedFoundMachine(kMachine2018);
    const std::string elsewhere = joinPath(distribution.folder(), "elsewhere");
    folders.make(elsewhere);
    writeFile(joinPath(elsewhere, "Other.dll"), "not the add-in's");
    const HostLink link(dataFile("Linked"), elsewhere);

    AppProcess app = startWith(std::string(kQuiet) + logSwitch());
    EXPECT_EQ(app.waitForExit(), 0u);
    const std::vector<std::string> lines = logLines(logFile());
    EXPECT_TRUE(hasLine(lines, toUtf8("Skipped: " + dataFile("Linked") +
                                      ": a symbolic link or junction, not copied")))
        << joined(lines);
    EXPECT_FALSE(pathExists(joinPath(kDefaultProductFolder, "Linked")));
    EXPECT_FALSE(pathExists(joinPath(kDefaultProductFolder, "Other.dll")));
}

TEST_F(Unattended, ALogWithoutANameIsANewFileInTempEveryTime) {
    seedFoundMachine(kMachine2018);
    const auto logs = [] {
        std::vector<std::string> names;
        for (const std::string& name : listFolder(tempFolder())) {
            if (name.starts_with("Varnok Setup Log "))
                names.push_back(name);
        }
        return names;
    };
    const std::vector<std::string> before = logs();
    for (int run = 0; run < 2; ++run) {
        AppProcess app = startWith(std::string(kQuiet) + " /RELEASES=2030 /LOG");
        EXPECT_EQ(app.waitForExit(), 1u);
    }
    std::vector<std::string> added;
    for (const std::string& name : logs()) {
        if (std::find(before.begin(), before.end(), name) == before.end())
            added.push_back(name);
    }
    ASSERT_EQ(added.size(), 2u);
    for (const std::string& name : added) {
        const std::vector<std::string> lines = logLines(joinPath(tempFolder(), name));
        EXPECT_TRUE(hasLine(lines, toUtf8("“2030”不是"))) << joined(lines);
        removeTree(joinPath(tempFolder(), name));
    }
}

TEST_F(Unattended, OneSetupAtATime) {
    seedFoundMachine(kMachine2018);
    AppProcess wizard = start();
    wizard.waitForWindow(page1());
    const MachineState before = MachineState::capture();

    // Windows Installer's "another installation is in progress": deployment tools retry it.
    AppProcess quiet = startWith(kQuiet);
    EXPECT_EQ(quiet.waitForExit(), 1618u);
    AppProcess second = start();
    const Window box = second.waitForMessageBox(kMessageCaption);
    EXPECT_EQ(toUtf8(box.messageText()),
              toUtf8("Varnok批打印软件的安装程序已经在运行。\n\n请等它结束后再试。"));
    box.answer(IDOK);
    EXPECT_EQ(second.waitForExit(), 1618u);
    EXPECT_EQ(MachineState::capture().describe(), before.describe());
}

TEST_F(Unattended, HelpListsTheSwitchesAndExitCodes) {
    AppProcess app = startWith("/?");
    const Window box = app.waitForMessageBox(kMessageCaption);
    const std::string text = box.messageText();
    for (const char* part : {"/SILENT", "/VERYSILENT", "/SUPPRESSMSGBOXES",
                             "/DIR=", "/RELEASES=", "/LOG", "/ALLOWRUNNING", "退出代码", "7\t"}) {
        EXPECT_NE(text.find(part), std::string::npos) << toUtf8(part);
    }
    box.answer(IDOK);
    EXPECT_EQ(app.waitForExit(), 0u);
}

}  // namespace
}  // namespace vk::e2e::setup
