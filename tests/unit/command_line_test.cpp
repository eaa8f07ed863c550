// The command line: each switch, quoting, case, repeats, and every kind of
// malformed line, which must be refused with a message naming what is wrong.
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(Describe(parsed.options), c.options);
    }
}

TEST(CommandLine, MalformedLinesAreRefusedWithWhatIsWrong) {
    const struct {
        const char* line;
        const char* saying;  // a part of the message
    } cases[] = {
        {"/FOO", "未知的命令行参数：/FOO"},
        {"install", "未知的命令行参数：install"},
        {"/", "未知的命令行参数：/"},
        {"/SILENT=1", "/SILENT 不带值"},
        {"/DIR", "/DIR 需要一个值"},
        {"/DIR=", "/DIR 需要一个值"},
        {"/DIR=\"C:\\Varnok", "引号不成对"},
        {"/DIR=C:\\a /dir=C:\\b", "/dir 出现了两次"},
        {"/RELEASES=2006", "“2006”不是 2007 到 2027"},
        {"/RELEASES=20x8", "“20x8”不是"},
        {"/RELEASES=2018,,2021", "“”不是"},
        {"/RELEASES=2018 /RELEASES=2021", "出现了两次"},
        {"/LOG=", "/LOG= 需要一个文件名"},
        {"/SUPPRESSMSGBOXES", "只能与 /SILENT 或 /VERYSILENT 一起使用"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedCommandLine parsed = ParseCommandLine(c.line);
        EXPECT_FALSE(parsed.ok());
        EXPECT_NE(parsed.error.find(c.saying), std::string::npos) << parsed.error;
    }
}

TEST(CommandLine, ALogAskedForAfterABadSwitchIsStillKnown) {
    const ParsedCommandLine parsed = ParseCommandLine("/BAD /VERYSILENT /SUPPRESSMSGBOXES /LOG");
    EXPECT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.options.log);
    EXPECT_FALSE(parsed.options.MayAsk());
}

}  // namespace
}  // namespace vk
