// The command line: each switch, Inno Setup's among them, quoting, case,
// repeats, and every kind of malformed line, which must be refused with a
// message naming everything that is wrong.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace vk {
namespace {

// The options as one line of text, so that a table can name what it expects.
std::string Describe(const SetupOptions& options) {
    std::string text = options.mode == RunMode::Wizard   ? "wizard"
                       : options.mode == RunMode::Silent ? "silent"
                                                         : "verysilent";
    if (options.suppressMessageBoxes)
        text += " suppress";
    if (options.folder)
        text += " dir=[" + *options.folder + "]";
    if (options.years) {
        text += " years=";
        for (int year : *options.years)
            text += std::to_string(year) + ";";
    }
    if (options.log)
        text += " log=[" + options.logFile + "]";
    if (options.allowRunning)
        text += " allowrunning";
    if (options.help)
        text += " help";
    if (options.userSetup)
        text += " usersetup";
    if (!options.loadInf.empty())
        text += " loadinf=[" + options.loadInf + "]";
    if (!options.saveInf.empty())
        text += " saveinf=[" + options.saveInf + "]";
    return text;
}

TEST(CommandLine, SoundLinesGiveTheirOptions) {
    const struct {
        const char* line;
        const char* options;
    } cases[] = {
        {"", "wizard"},
        {"   ", "wizard"},
        {"/SILENT", "silent"},
        {"-silent", "silent"},
        {"/VerySilent", "verysilent"},
        {"/SILENT /VERYSILENT", "verysilent"},
        {"/VERYSILENT /SILENT", "verysilent"},
        {"/SILENT /SILENT", "silent"},
        {"/VERYSILENT /SUPPRESSMSGBOXES", "verysilent suppress"},
        {"/DIR=D:\\Tools", "wizard dir=[D:\\Tools]"},
        {"/DIR=\"C:\\CAD Tools\\\"", "wizard dir=[C:\\CAD Tools\\]"},
        {"\"/DIR=C:\\CAD Tools\"", "wizard dir=[C:\\CAD Tools]"},
        {"/dir=\"D:\\软件\\表\"", "wizard dir=[D:\\软件\\表]"},
        {"/RELEASES=2021,2018,2018", "wizard years=2018;2021;"},
        {"/RELEASES=all", "wizard"},
        {"-releases=ALL", "wizard"},
        {"/LOG", "wizard log=[]"},
        {"/LOG=\"C:\\Logs\\setup log.txt\"", "wizard log=[C:\\Logs\\setup log.txt]"},
        {"/ALLOWRUNNING /?", "wizard allowrunning help"},
        {"-HELP", "wizard help"},
        {"/usersetup", "wizard usersetup"},
        {"/VERYSILENT\t/SUPPRESSMSGBOXES /DIR=\"C:\\A B\" /RELEASES=2018 /LOG /ALLOWRUNNING",
         "verysilent suppress dir=[C:\\A B] years=2018; log=[] allowrunning"},
        {"/LOADINF=\"C:\\My choices.inf\" /saveinf=D:\\b.inf",
         "wizard loadinf=[C:\\My choices.inf] saveinf=[D:\\b.inf]"},
        // Inno Setup's: it has an effect only with /SILENT or /VERYSILENT.
        {"/SUPPRESSMSGBOXES", "wizard suppress"},
        // What winget, Intune and Configuration Manager send.
        {"/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG=\"C:\\a1.log\"",
         "verysilent suppress log=[C:\\a1.log]"},
        {"/SP- /SILENT /SUPPRESSMSGBOXES /NORESTART /LOG=\"C:\\w.log\" /DIR=\"D:\\Apps\"",
         "silent suppress dir=[D:\\Apps] log=[C:\\w.log]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(Describe(parsed.options), c.options);
    }
}

// Every switch Inno Setup documents for a setup or its uninstaller, in the form it documents,
// is taken; one that changes nothing here is named in the log with why.
TEST(CommandLine, EveryInnoSetupSwitchIsTaken) {
    const struct {
        const char* line;
        const char* note;  // a part of the note for the log; "" for one of the setup's own
    } cases[] = {
        {"/SP-", "no start-up prompt"},
        {"/NOSTYLE", "no custom styles"},
        {"/NORESTART", "never restarts Windows"},
        {"/RESTARTEXITCODE=3010", "never used"},
        {"/NOCANCEL", "no cancel"},
        {"/LANG=english", "only the Simplified Chinese interface"},
        {"/CLOSEAPPLICATIONS", "AutoCAD is never closed"},
        {"/NOCLOSEAPPLICATIONS", "AutoCAD is never closed"},
        {"/FORCECLOSEAPPLICATIONS", "AutoCAD is never closed"},
        {"/NOFORCECLOSEAPPLICATIONS", "AutoCAD is never closed"},
        {"/LOGCLOSEAPPLICATIONS", "AutoCAD is never closed"},
        {"/RESTARTAPPLICATIONS", "AutoCAD is never closed"},
        {"/NORESTARTAPPLICATIONS", "AutoCAD is never closed"},
        {"/TASKS=\"desktopicon,quicklaunch\"", "no tasks"},
        {"/MERGETASKS=\"!desktopicon\"", "no tasks"},
        {"/COMPONENTS=\"main,help\"", "no components"},
        {"/TYPE=full", "no setup types"},
        {"/GROUP=\"My Program\"", "no Start menu folder"},
        {"/NOICONS", "no Start menu folder"},
        {"/PASSWORD=secret", "no password"},
        {"/ALLUSERS", "whole machine"},
        {"/CURRENTUSER", "whole machine"},
        {"/TASKS=", "no tasks"},
        {"/HELP", ""},
        {"/?", ""},
        {"/SILENT", ""},
        {"/VERYSILENT", ""},
        {"/LOG", ""},
        {"/LOG=\"C:\\setup.log\"", ""},
        {"/DIR=\"C:\\Varnok\"", ""},
        {"/LOADINF=\"C:\\a.inf\"", ""},
        {"/SAVEINF=\"C:\\a.inf\"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error, "");
        if (*c.note == '\0') {
            EXPECT_TRUE(parsed.options.notes.empty());
        } else {
            ASSERT_EQ(parsed.options.notes.size(), 1u);
            EXPECT_NE(parsed.options.notes[0].find(c.note), std::string::npos)
                << parsed.options.notes[0];
        }
    }
}

TEST(CommandLine, MalformedLinesAreRefusedWithWhatIsWrong) {
    const struct {
        const char* line;
        const char* saying;  // a part of the message
        const char* reason;  // a part of the English reason for the log
    } cases[] = {
        {"/FOO", "未知的命令行参数：/FOO", "unknown switch: /FOO"},
        {"install", "未知的命令行参数：install", "unknown switch: install"},
        {"/", "未知的命令行参数：/", "unknown switch: /"},
        {"/SILENT=1", "/SILENT 不带值", "/SILENT takes no value"},
        {"/NORESTART=1", "/NORESTART 不带值", "/NORESTART takes no value"},
        {"/DIR", "/DIR 需要一个值", "/DIR needs a value"},
        {"/DIR=", "/DIR 需要一个值", "/DIR needs a value"},
        {"/LOADINF", "/LOADINF 需要一个值", "/LOADINF needs a value"},
        {"/RESTARTEXITCODE=x", "/RESTARTEXITCODE 的值必须是一个数字", "needs a number"},
        {"/DIR=\"C:\\Varnok", "引号不成对", "a double quote is not closed"},
        {"/DIR=C:\\a /dir=C:\\b", "/dir 出现了两次", "/dir is given twice"},
        {"/RELEASES=2006", "“2006”不是 2007 到 2027", "\"2006\" in /RELEASES"},
        {"/RELEASES=20x8", "“20x8”不是", "\"20x8\""},
        {"/RELEASES=2018,,2021", "“”不是", "\"\" in /RELEASES"},
        {"/RELEASES=2018 /RELEASES=2021", "出现了两次", "given twice"},
        {"/LOG=", "/LOG= 需要一个文件名", "/LOG= needs a file name"},
        {"/UNINSTALL /DIR=C:\\a", "不能与 /UNINSTALL 一起使用", "do not go with /UNINSTALL"},
        {"/UNINSTALL /SAVEINF=C:\\a", "不能与 /UNINSTALL 一起使用", "do not go with /UNINSTALL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_FALSE(parsed.ok());
        EXPECT_NE(parsed.error.find(c.saying), std::string::npos) << parsed.error;
        EXPECT_NE(parsed.reason.find(c.reason), std::string::npos) << parsed.reason;
    }
}

TEST(CommandLine, EveryUnknownSwitchIsNamedTogetherWithTheOtherFaults) {
    const ParsedCommandLine parsed =
        ParseCommandLine("/FOO /SP- -bar /VERYSILENT /SILENT=1 /X=\"a b\"");
    EXPECT_EQ(parsed.error, "未知的命令行参数：/FOO -bar /X=a b\n参数 /SILENT 不带值。");
    EXPECT_EQ(parsed.reason, "unknown switches: /FOO -bar /X=a b; /SILENT takes no value");
}

TEST(CommandLine, ALogAndSilenceAskedForOnABadLineAreStillKnown) {
    const struct {
        const char* line;
        bool log;
        const char* logFile;
    } cases[] = {
        {"/BAD /VERYSILENT /SUPPRESSMSGBOXES /LOG", true, ""},
        // The part with the open quote is anyone's guess; the rest counts.
        {"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"C:\\a6.log\" /DIR=\"C:\\Varnok", true, "C:\\a6.log"},
        {"/VERYSILENT /SUPPRESSMSGBOXES /DIR=C:\\Varnok /LOG=\"C:\\a 6.log", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.options.mode, RunMode::VerySilent);
        EXPECT_FALSE(parsed.options.MayAsk());
        EXPECT_EQ(parsed.options.log, c.log);
        EXPECT_EQ(parsed.options.logFile, c.logFile);
    }
}

TEST(CommandLine, ThePasswordIsNotWrittenToTheLog) {
    EXPECT_EQ(CommandLineForLog(u"\"C:\\s\\SetUp.exe\" /password=abc /VERYSILENT -PASSWORD=\"a b\" "
                                u"\"/PassWord=x y\" /DIR=C:\\password=1"),
              u"\"C:\\s\\SetUp.exe\" /password=*** /VERYSILENT -PASSWORD=*** \"/PassWord=***\" "
              u"/DIR=C:\\password=1");
}

}  // namespace
}  // namespace vk
