// Program file deployment on a memory machine: what lands where, what is
// skipped, the two messages, and the progress steps.
#include "engine/deploy.h"

#include <gtest/gtest.h>

#include "engine/file_ops.h"
#include "engine/install_texts.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

using Names = std::vector<std::string>;

class Deploy : public InstallFixture {
protected:
    bool Run() { return DeployProgramFiles(services, DeployTarget{kInstallDir, &progress}); }
    std::string Settings(const std::string& name) const { return kAppData + "\\Varnok\\" + name; }
};

TEST_F(Deploy, CopiesEveryOrdinaryFileAndRenamesTheLibrariesLetterForLetter) {
    for (const char* name :
         {"setup.exe", "VARNOK_EN.SHX", "Varnok_HZ.shx", "varnok.PRT5", "VARNOK.PRT7",
          "Varnok.prt8", "varnok.prt9", "readme.txt", "VK_BatchPlot2018.ARX"}) {
        AddDataFile(name, name);
    }
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.List(kInstallDir),
              (Names{"itextsharp.dll", "PdfSharp.Charting.dll", "PdfSharp.dll", "readme.txt",
                     "VK_BatchPlot2018.ARX"}));
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\itextsharp.dll"), "VARNOK.PRT7");
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\PdfSharp.dll"), "varnok.prt9");
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(progress.steps, 12);  // ".", "..", nine files, and the pass that finds no more
    ExpectNothingLeftOpen();
}

TEST_F(Deploy, DataWithOnlyDotsCopiesNothingAndStepsThreeTimes) {
    EXPECT_TRUE(Run());
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(Calls("CopyFile"), 0u);
}

TEST_F(Deploy, SubfoldersOfDataAreNeitherCopiedNorReported) {
    files.AddFolder(kDataFolder + "\\Sub", kAttrDirectory | kAttrReadOnly | kAttrHidden);
    files.AddFolder(kDataFolder + "\\Varnok.prt7");  // a folder with a special name too
    files.AddFile(kDataFolder + "\\Sub\\inner.txt");
    AddDataFile("a.txt");

    EXPECT_TRUE(Run());
    EXPECT_EQ(files.List(kInstallDir), Names{"a.txt"});
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(progress.steps, 6);
}

TEST_F(Deploy, EveryOneOf150FilesIsDeployed) {
    for (int i = 0; i < 150; ++i)
        AddDataFile("file" + std::to_string(1000 + i) + ".dat");
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.List(kInstallDir).size(), 150u);
    EXPECT_EQ(progress.steps, 153);
}

TEST_F(Deploy, MissingDataIsReportedAndNothingIsTouched) {
    files.Remove(kDataFolder);
    EXPECT_FALSE(Run());
    files.AddFile(kDataFolder, "a file named Data");
    EXPECT_FALSE(Run());

    ASSERT_EQ(prompts.Count(), 2u);
    for (const memory::PromptRecord& box : prompts.Records()) {
        EXPECT_EQ(box.owner, prompts.MainWindow());
        EXPECT_EQ(box.text, kMissingDataText);
        EXPECT_EQ(box.caption, "Varnok软件安装");
        EXPECT_EQ(box.type, kMbOk);
    }
    EXPECT_FALSE(files.IsFolder(kInstallDir));
    EXPECT_EQ(Calls("CreateDirectory"), 0u);
    EXPECT_EQ(progress.steps, 0);
}

TEST_F(Deploy, DataFolderIsFoundBesideTheProgramAcrossDoubleByteNames) {
    // "乗" ends in byte 0x5C: it is no separator, so Data lies inside "C:\dist\乗".
    const std::string folder = "C:\\dist\\\x81\x5C";
    files.SetModulePath(folder + "\\SetUp.exe");
    EXPECT_EQ(GetSetupDataFolder(services), folder + "\\Data");
    files.SetModulePath("SetUp.exe");
    EXPECT_EQ(GetSetupDataFolder(services), "\\Data");
}

TEST_F(Deploy, UnlistableDataCopiesNothingButSucceeds) {
    AddDataFile("a.txt");
    faults.FailOperation("FindFirstFile", 2);  // the first find is the folder check
    EXPECT_TRUE(Run());
    EXPECT_EQ(Calls("CopyFile"), 0u);
    EXPECT_EQ(progress.steps, 1);
}

TEST_F(Deploy, ReadOnlySourcesAndDestinationsAreReplacedAndLeftWritable) {
    AddDataFile("a.txt", "new", kAttrReadOnly);
    AddDataFile("Varnok.Ini", "settings", kAttrReadOnly | kAttrHidden);
    files.AddFile(kInstallDir + "\\a.txt", "old", kAttrReadOnly | kAttrArchive);
    files.AddFile(Settings("Varnok.Ini"), "old settings", kAttrReadOnly);

    EXPECT_TRUE(Run());
    EXPECT_EQ(files.ReadFile(kInstallDir + "\\a.txt"), "new");
    EXPECT_EQ(files.ReadFile(Settings("Varnok.Ini")), "settings");
    EXPECT_EQ(files.AttributesOf(kInstallDir + "\\a.txt"), kAttrArchive);
    EXPECT_EQ(files.AttributesOf(kDataFolder + "\\a.txt"), kAttrNormal);
    EXPECT_EQ(files.AttributesOf(Settings("Varnok.Ini")), kAttrHidden | kAttrArchive);
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(Deploy, SettingsFileKeepsItsFoundNameInAppDataVarnok) {
    AddDataFile("varnok.ini", "settings");
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.List(kAppData + "\\Varnok"), Names{"varnok.ini"});
    EXPECT_EQ(files.ReadFile(Settings("varnok.ini")), "settings");
    EXPECT_FALSE(files.IsFile(kInstallDir + "\\varnok.ini"));
}

TEST_F(Deploy, SettingsFallBackToTheShellFolderWhenAppDataIsUnusable) {
    AddDataFile("Varnok.Ini", "settings");
    const std::string shellFolder = "C:\\Users\\me\\Shell\\Roaming";
    files.AddFolder(shellFolder);
    files.SetRoamingAppDataFolder(shellFolder);

    files.ClearEnvironmentVariable("APPDATA");
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.ReadFile(shellFolder + "\\Varnok\\Varnok.Ini"), "settings");

    files.Remove(shellFolder + "\\Varnok");
    files.SetEnvironmentVariable("APPDATA", "C:\\" + std::string(257, 'x'));  // 260 bytes
    EXPECT_TRUE(Run());
    EXPECT_EQ(files.ReadFile(shellFolder + "\\Varnok\\Varnok.Ini"), "settings");
    EXPECT_FALSE(files.IsFile("C:\\Varnok\\Varnok.Ini"));  // never "\Varnok" of the drive
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(Deploy, SettingsWithoutAnyAppDataFolderRaiseTheCopyFailurePrompt) {
    AddDataFile("Varnok.Ini");
    AddDataFile("z.txt");
    files.ClearEnvironmentVariable("APPDATA");
    files.SetRoamingAppDataFolder("");
    prompts.QueueAnswer(kIdIgnore);

    EXPECT_TRUE(Run());
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Records()[0].text, CopyFailedText("%APPDATA%\\Varnok\\Varnok.Ini"));
    EXPECT_TRUE(files.IsFile(kInstallDir + "\\z.txt"));
    EXPECT_FALSE(files.IsFile("C:\\Varnok\\Varnok.Ini"));
}

}  // namespace
}  // namespace vk::test
