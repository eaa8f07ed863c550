// The install path's safety on the memory services, which keep what Wine
// cannot show: the descriptor asked for the product folder, reparse tags of
// every kind, owners and rights of any folder, links to files.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/deploy.h"
#include "engine/install_folder_check.h"
#include "engine/apps_features.h"
#include "engine/installation.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

// The product folder's descriptor as the installation must ask for it.
constexpr const char* kProtected = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
constexpr std::uint32_t kReadExecute = 0x1200A9;
constexpr std::uint32_t kReparseTagCloud = 0x9000001A;  // a OneDrive placeholder

struct PathCase {
    const char* name;
    std::function<void(memory::MemoryFileSystem&)> arrange;
    const char* typed;
    FolderVerdict verdict;
    std::string linked;             // Link
    ReplaceableFolder replaceable;  // Replaceable
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

FolderSecurity Owned(FileOwner owner, std::uint32_t rights = kReadExecute) {
    return FolderSecurity{owner, rights};
}

class InstallPathSafety : public InstallFixture, public ::testing::WithParamInterface<PathCase> {};

TEST_P(InstallPathSafety, GivesItsVerdictNamingTheFolder) {
    files.Remove("C:\\Varnok");
    GetParam().arrange(files);
    const FolderCheck check = CheckInstallFolder(services, GetParam().typed);
    EXPECT_EQ(check.verdict, GetParam().verdict);
    EXPECT_EQ(check.linked, GetParam().linked);
    EXPECT_EQ(check.replaceable, GetParam().replaceable);
}

const std::string kTools = "C:\\Tools";
const std::string kCad = "C:\\Tools\\Cad";
const std::string kCadProduct = "C:\\Tools\\Cad\\Varnok批打印软件";

INSTANTIATE_TEST_SUITE_P(
    , InstallPathSafety,
    ::testing::Values(
        PathCase{
            "TheDefaultFolderYetToBeMade", [](auto&) {}, "C:\\Varnok", FolderVerdict::Ok, "", {}},
        // Adding entries above the product folder cannot replace one.
        PathCase{"FoldersOfSafeOwnersThatUsersMayAddTo",
                 [](auto& fs) {
                     fs.AddFolder(kCadProduct);
                     fs.SetFolderSecurity(kTools, Owned(FileOwner::System, kReadExecute | 0x6));
                     fs.SetFolderSecurity(kCad, Owned(FileOwner::TrustedInstaller, kReadExecute | 0x6));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Ok,
                 "",
                 {}},
        // In the product folder itself, what a user added would be loaded beside the add-in.
        PathCase{"AProductFolderUsersMayAddTo",
                 [](auto& fs) {
                     fs.AddFolder(kCadProduct);
                     fs.SetFolderSecurity(kCadProduct, Owned(FileOwner::System, kReadExecute | 0x6));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Replaceable,
                 "",
                 {kCadProduct, false, false, 0x6, false}},
        PathCase{"AProductFolderOfAnotherOwner",
                 [](auto& fs) {
                     fs.AddFolder(kCadProduct);
                     fs.SetFolderSecurity(kCadProduct, Owned(FileOwner::Other));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Replaceable,
                 "",
                 {kCadProduct, true, false, 0, false}},
        PathCase{"ASymbolicLinkAbove",
                 [](auto& fs) {
                     fs.AddFolder(kCad);
                     fs.SetReparseTag(kTools, kReparseTagSymlink);
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Link,
                 kTools,
                 {}},
        PathCase{"AJunctionAsTheProductFolder",
                 [](auto& fs) {
                     fs.AddFolder(kCadProduct);
                     fs.SetReparseTag(kCadProduct, kReparseTagMountPoint);
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Link,
                 kCadProduct,
                 {}},
        PathCase{"ALinkAsWineShowsIt",
                 [](auto& fs) {
                     fs.AddFolder(kTools);
                     fs.SetReparseTag(kTools, 0);
                 },
                 "C:\\Tools",
                 FolderVerdict::Link,
                 kTools,
                 {}},
        PathCase{"ACloudPlaceholderIsNoLink",
                 [](auto& fs) {
                     fs.AddFolder(kTools);
                     fs.SetReparseTag(kTools, kReparseTagCloud);
                 },
                 "C:\\Tools",
                 FolderVerdict::Ok,
                 "",
                 {}},
        // Refused as a link before its owner is judged.
        PathCase{"ALinkBelowAForeignFolder",
                 [](auto& fs) {
                     fs.AddFolder(kCad);
                     fs.SetFolderSecurity(kTools, Owned(FileOwner::Other));
                     fs.SetReparseTag(kCad, kReparseTagSymlink);
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Link,
                 kCad,
                 {}},
        PathCase{"AFolderOfAnotherOwner",
                 [](auto& fs) {
                     fs.AddFolder(kCad);
                     fs.SetFolderSecurity(kTools, Owned(FileOwner::Other));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Replaceable,
                 "",
                 {kTools, true, false, 0, false}},
        // Modify (0x1301BF), as Authenticated Users hold it below a drive root.
        PathCase{"AFolderUsersMayDelete",
                 [](auto& fs) {
                     fs.AddFolder(kCad);
                     fs.SetFolderSecurity(kTools, Owned(FileOwner::Administrators, 0x1301BF));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Replaceable,
                 "",
                 {kTools, false, false, kRightDelete, false}},
        PathCase{"TheChosenFolderWhoseEntriesUsersMayDelete",
                 [](auto& fs) {
                     fs.AddFolder(kCad);
                     fs.SetFolderSecurity(
                         kCad, Owned(FileOwner::RunningAccount, kReadExecute | kRightDeleteChild));
                 },
                 "C:\\Tools\\Cad",
                 FolderVerdict::Replaceable,
                 "",
                 {kCad, false, false, kRightDeleteChild, false}},
        PathCase{"AFolderWhoseRightsUsersMayChange",
                 [](auto& fs) {
                     fs.AddFolder(kTools);
                     fs.SetFolderSecurity(kTools, Owned(FileOwner::Administrators,
                                                        kRightWriteDac | kRightWriteOwner));
                 },
                 "C:\\Tools",
                 FolderVerdict::Replaceable,
                 "",
                 {kTools, false, false, kRightWriteDac | kRightWriteOwner, false}},
        // A root that lets users delete its entries: any top folder, made or not.
        PathCase{"ARootThatLetsUsersDeleteItsFolders",
                 [](auto& fs) {
                     fs.SetFolderSecurity("C:\\", Owned(FileOwner::Administrators,
                                                        kReadExecute | kRightDeleteChild));
                 },
                 "C:\\Varnok",
                 FolderVerdict::Replaceable,
                 "",
                 {"C:\\Varnok", false, false, 0, true}},
        PathCase{"TheRootChosenLettingUsersDeleteThere",
                 [](auto& fs) {
                     fs.SetFolderSecurity("C:\\", Owned(FileOwner::Other, kRightDeleteChild));
                 },
                 "C:\\",
                 FolderVerdict::Replaceable,
                 "",
                 {"C:\\Varnok批打印软件", false, false, 0, true}},
        // Only the root's FILE_DELETE_CHILD counts: the root itself stays.
        PathCase{"ARootOfAnotherOwnerThatUsersMayChange",
                 [](auto& fs) { fs.SetFolderSecurity("C:\\", Owned(FileOwner::Other, 0x1301BF)); },
                 "C:\\Varnok",
                 FolderVerdict::Ok,
                 "",
                 {}}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST_F(InstallFixture, AFolderWhoseRightsCannotBeReadCountsAsReplaceable) {
    files.AddFolder(kCad);
    faults.FailOperation("GetNamedSecurityInfo", 2);  // the root's are read first
    const FolderCheck check = CheckInstallFolder(services, kCad);
    EXPECT_EQ(check.verdict, FolderVerdict::Replaceable);
    EXPECT_EQ(check.replaceable, (ReplaceableFolder{kTools, false, true, 0, false}));
}

// Every folder the installation makes is protected from the moment it exists;
// a product folder it finds is protected anew, what was inside it inherits
// from it, and a link inside is left as it is.
class ProtectionFixture : public InstallFixture {
protected:
    InstallOutcome Install(const std::string& folder = "C:\\Varnok") {
        AddDataFile("VK_BatchPlot2018.ARX");
        InstallRequest request{folder};
        request.logonProgram = "MZ";
        return RunInstallation(services, catalog, request);
    }
};

TEST_F(ProtectionFixture, EveryLevelMadeIsCreatedProtected) {
    const struct {
        const char* typed;
        std::vector<std::string> existing;
        std::vector<std::string> made;
    } cases[] = {
        {"C:\\Varnok", {}, {"C:\\Varnok", kInstallDir}},
        {"D:\\CAD\\Tools\\Addins",
         {"D:\\CAD"},
         {"D:\\CAD\\Tools", "D:\\CAD\\Tools\\Addins", "D:\\CAD\\Tools\\Addins\\Varnok批打印软件"}},
    };
    files.Remove("C:\\Varnok");
    files.AddDrive('D');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        for (const std::string& folder : c.existing)
            files.AddFolder(folder);
        ASSERT_EQ(Install(c.typed).failedSteps, 0u);
        for (const std::string& level : c.made) {
            EXPECT_EQ(files.CreatedWithSecurity(level), kProtected) << level;
            EXPECT_EQ(log.LinesWith("Created " + level + ", protected: owner Administrators").size(),
                      1u)
                << level;
        }
        for (const std::string& folder : c.existing)
            EXPECT_EQ(files.AppliedSecurity(folder), std::nullopt) << folder;
    }
}

TEST_F(ProtectionFixture, AFoundProductFolderIsProtectedAnew) {
    files.AddFile(kInstallDir + "\\Old.dll");
    files.AddFile(kInstallDir + "\\sub\\planted.dll");
    files.AddFolder(kInstallDir + "\\Linked");
    files.SetReparseTag(kInstallDir + "\\Linked", kReparseTagMountPoint);
    const InstallOutcome outcome = Install();
    EXPECT_EQ(outcome.failedSteps, 0u);
    EXPECT_EQ(files.AppliedSecurity(kInstallDir), kProtected);
    EXPECT_EQ(files.AppliedSecurity(kInstallDir + "\\VK_BatchPlot2018.ARX"), std::nullopt)
        << "a copy made afterwards inherits by itself";
    EXPECT_EQ(log.LinesWith("Protected " + kInstallDir + ": owner Administrators").size(), 1u);
    for (const char* entry : {"\\Old.dll", "\\sub", "\\sub\\planted.dll"})
        EXPECT_EQ(files.AppliedSecurity(kInstallDir + entry), "O:BAD:") << entry;
    EXPECT_EQ(files.AppliedSecurity(kInstallDir + "\\Linked"), std::nullopt);
    EXPECT_EQ(log.LinesWith("Skipped: " + kInstallDir + "\\Linked: a link").size(), 1u);
}

// Made by another account between the check and the installation: refused
// as the check would have, unless it is the folder the person agreed to.
TEST_F(ProtectionFixture, AFolderMadeByAnotherAccountAfterTheCheckIsRefused) {
    files.SetFolderSecurity("C:\\Varnok", Owned(FileOwner::Other));
    const InstallOutcome refused = Install();
    EXPECT_EQ(refused.result, InstallResult::FolderRefused);
    EXPECT_FALSE(files.IsFolder(kInstallDir));
    EXPECT_FALSE(registry.KeyExists(kHklm, kAppsFeaturesKey));

    InstallRequest accepted{"C:\\Varnok"};
    accepted.acceptedReplaceable = "C:\\Varnok";
    EXPECT_EQ(RunInstallation(services, catalog, accepted).result, InstallResult::Completed);
}

TEST_F(ProtectionFixture, AProtectionThatFailsIsLoggedAndCountedAndTheInstallationGoesOn) {
    files.AddFolder(kInstallDir);
    faults.FailOperation("SetNamedSecurityInfo");
    const InstallOutcome outcome = Install();
    EXPECT_EQ(outcome.result, InstallResult::Completed);
    EXPECT_EQ(outcome.failedSteps, 1u);
    EXPECT_EQ(log.LinesWith("FAILED: protect " + kInstallDir).size(), 1u);
    EXPECT_TRUE(files.IsFile(kInstallDir + "\\VK_BatchPlot2018.ARX"));
}

// Wine shows no link to a file: these are the memory services' alone.
TEST_F(InstallFixture, DataEntriesThatAreLinksAreNotCopiedAndLogged) {
    AddDataFile("VK_BatchPlot2018.ARX");
    AddDataFile("Linked.dll");
    files.SetReparseTag(kDataFolder + "\\Linked.dll", kReparseTagSymlink);
    AddDataFile("Placeholder.dll");
    files.SetReparseTag(kDataFolder + "\\Placeholder.dll", kReparseTagCloud);
    ASSERT_EQ(DeployFiles(services, DeployTarget{kInstallDir}), DeployOutcome::Done);
    EXPECT_FALSE(files.IsFile(kInstallDir + "\\Linked.dll"));
    EXPECT_EQ(log.LinesWith("Skipped: " + kDataFolder +
                            "\\Linked.dll: a symbolic link or junction, not copied")
                  .size(),
              1u);
    EXPECT_TRUE(files.IsFile(kInstallDir + "\\Placeholder.dll"));
    EXPECT_TRUE(files.IsFile(kInstallDir + "\\VK_BatchPlot2018.ARX"));
}

}  // namespace
}  // namespace vk::test
