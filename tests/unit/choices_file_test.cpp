// /SAVEINF and /LOADINF: the choices a wizard saved are the ones a later run
// starts from, the command line counts first, and a file that is not a
// choices file stops the run before anything changes.
#include <gtest/gtest.h>

#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string kFile = "C:\\choices.inf";

class ChoicesFile : public InstallFixture {
protected:
    SetupOptions Loading() const {
        SetupOptions options;
        options.loadInf = kFile;
        return options;
    }
};

TEST_F(ChoicesFile, WhatIsSavedIsReadBack) {
    ASSERT_EQ(SaveChoices(services, kFile, "D:\\软件\\Varnok", {2018, 2021}), kOk);
    EXPECT_EQ(files.ReadFile(kFile)->substr(0, 3), "\xEF\xBB\xBF");

    SetupOptions options = Loading();
    EXPECT_EQ(LoadChoices(services, options), kExitFinished);
    EXPECT_EQ(options.folder, "D:\\软件\\Varnok");
    EXPECT_EQ(options.years, (std::vector<int>{2018, 2021}));

    // Saved again, it replaces the file.
    ASSERT_EQ(SaveChoices(services, kFile, "C:\\Varnok", {2007}), kOk);
    options = Loading();
    EXPECT_EQ(LoadChoices(services, options), kExitFinished);
    EXPECT_EQ(options.folder, "C:\\Varnok");
    EXPECT_EQ(options.years, (std::vector<int>{2007}));
}

TEST_F(ChoicesFile, TheCommandLineCountsFirst) {
    ASSERT_EQ(SaveChoices(services, kFile, "D:\\Other", {2018}), kOk);
    SetupOptions options = Loading();
    options.folder = "C:\\Mine";
    EXPECT_EQ(LoadChoices(services, options), kExitFinished);
    EXPECT_EQ(options.folder, "C:\\Mine");
    EXPECT_EQ(options.years, std::vector<int>{2018});

    options = Loading();
    options.years = std::vector<int>{2021};
    EXPECT_EQ(LoadChoices(services, options), kExitFinished);
    EXPECT_EQ(options.folder, "D:\\Other");
    EXPECT_EQ(options.years, std::vector<int>{2021});
}

TEST_F(ChoicesFile, FilesOfOtherMakersAndEditorsAreRead) {
    const struct {
        const char* content;
        const char* folder;
        bool allYears;
    } cases[] = {
        // As an Inno setup saves it: its own keys are left alone.
        {"[Setup]\r\nLang=default\r\nDir=C:\\Program Files\\X\r\nGroup=X\r\nNoIcons=0\r\n"
         "SetupType=full\r\nComponents=\r\nTasks=\r\n",
         "C:\\Program Files\\X", true},
        // Notepad's: the system's code page, no mark; comments, blanks, any case.
        {"; mine\n\n[setup]\n  dir = D:\\软件  \nRELEASES=all\n", "D:\\软件", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        files.AddFile(kFile, c.content);
        SetupOptions options = Loading();
        EXPECT_EQ(LoadChoices(services, options), kExitFinished);
        EXPECT_EQ(options.folder, c.folder);
        EXPECT_EQ(options.years.has_value(), !c.allYears);
    }
}

TEST_F(ChoicesFile, AFileThatIsNoChoicesFileStopsTheRun) {
    const struct {
        const char* content;  // nullptr: no file
        const char* reason;
    } cases[] = {
        {nullptr, "cannot be read"},
        {"", "no [Setup] section"},
        {"Dir=C:\\a\r\n", "line 1 is not a key=value line"},
        {"[Setup]\r\nDir\r\n", "line 2 is not a key=value line"},
        {"[Setup]\r\n[Other]\r\n", "section other than [Setup]"},
        {"[Setup]\r\nFolder=C:\\a\r\n", "unknown key Folder"},
        {"[Setup]\r\nDir=\r\n", "Dir is empty"},
        {"[Setup]\r\nReleases=2018,2006\r\n", "\"2006\" in Releases"},
        {"\xEF\xBB\xBF[Setup]\r\nDir=C:\\\xC3\r\n", "marked as UTF-8 but is not"},
        {"\xEF\xBB\xBF[Setup]\r\nDir=C:\\\xED\x95\x9C\r\n",  // Korean, in UTF-8
         "characters that the system's code page lacks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        files.Remove(kFile);
        if (c.content != nullptr)
            files.AddFile(kFile, c.content);
        SetupOptions options = Loading();
        EXPECT_EQ(LoadChoices(services, options), kExitCannotStart);
        EXPECT_FALSE(options.folder);
        EXPECT_FALSE(options.years);
        const std::vector<std::string> stopped = log.LinesWith("Stopped: the choices file");
        ASSERT_FALSE(stopped.empty());
        EXPECT_NE(stopped.back().find(c.reason), std::string::npos) << stopped.back();
    }
    EXPECT_EQ(prompts.Count(), std::size(cases));
}

TEST_F(ChoicesFile, IsNeverSavedThroughALinkOrIntoAFolder) {
    files.AddFolder(kFile);
    EXPECT_NE(SaveChoices(services, kFile, "C:\\Varnok", {2018}), kOk);
    EXPECT_TRUE(files.IsFolder(kFile));
    files.Remove(kFile);
    files.AddFile(kFile, "the link's own content");
    files.SetReparseTag(kFile, kReparseTagSymlink);
    EXPECT_NE(SaveChoices(services, kFile, "C:\\Varnok", {2018}), kOk);
    EXPECT_EQ(files.ReadFile(kFile), "the link's own content");
    EXPECT_EQ(log.LinesWith("FAILED: save the choices").size(), 2u);
}

}  // namespace
}  // namespace vk::test
