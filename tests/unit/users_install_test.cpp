// Every user of the machine whose hive is loaded gets the trusted paths, the
// account that runs the installation among them and SYSTEM never; the record
// names each user's changes, and the uninstall takes them back while the
// user's hive is loaded. The settings file goes only to the account that
// runs the installation: no other user's folder is touched by it or by the
// uninstall. Wine has one user and cannot run as SYSTEM: the users are shown
// here.
#include <gtest/gtest.h>

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "engine/active_setup.h"
#include "engine/uninstall.h"
#include "engine/user_hives.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string kProduct = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804";
const std::string k2018 = "R22.0\\ACAD-1001:804";
const std::string kSystem = "S-1-5-18";
const std::string kNoAcad = "S-1-5-21-7-7-7-1001";
const std::string kHasIni = "S-1-5-21-7-7-7-1002";
const std::string kAway = "S-1-5-21-7-7-7-1003";    // in the profile list, not signed in
const std::string kLinked = "S-1-5-21-7-7-7-1004";  // AppData\Roaming is a junction
const std::string kMe = memory::kCurrentUserSid;    // runs the installation: two profiles
// Where Active Setup marks a user as served.
const std::string kUserMarker =
    "Software\\Microsoft\\Active Setup\\Installed Components\\Varnok.BatchPlot";

struct User {
    std::string sid;
    std::string profileDir;
    std::vector<std::string> profiles;  // AutoCAD profiles, each with "d:\tools"
    bool hasIni = false;
    bool loaded = true;
};

class UsersInstall : public InstallFixture {
protected:
    UsersInstall() {
        for (const char* name :
             {"Varnok.Ini", "Varnok_EN.shx", "Varnok_HZ.shx", "VK_BatchPlot2018.ARX"})
            AddDataFile(name, "ini");
        AddProduct(2018, kProduct, "D:\\AutoCAD 2018");
        for (const User& user : users_)
            Seed(user);
    }
    void Seed(const User& user) {
        AddUser(user.sid, user.profileDir);
        const std::string hive = user.sid + "\\";
        if (user.sid != kMe) {
            registry.SetStringValue(RegRoot::Users, hive + kShellFoldersKey, "AppData",
                                    user.profileDir + "\\AppData\\Roaming");
        }
        for (const std::string& profile : user.profiles) {
            registry.SetStringValue(RegRoot::Users, hive + VariablesKey(k2018, profile),
                                    "TRUSTEDPATHS", "d:\\tools");
        }
        files.AddFolder(user.profileDir + "\\AppData\\Roaming");
        if (user.hasIni)
            files.AddFile(Ini(user), "mine");
        if (!user.loaded)
            registry.UnloadUserHive(user.sid);
        if (user.sid == kLinked)
            files.SetReparseTag(user.profileDir + "\\AppData\\Roaming", kReparseTagMountPoint);
    }
    static std::string Ini(const User& user) {
        return user.profileDir + "\\AppData\\Roaming\\Varnok\\Varnok.Ini";
    }
    std::optional<std::string> List(const User& user, const std::string& profile) const {
        return registry.GetString(RegRoot::Users, user.sid + "\\" + VariablesKey(k2018, profile),
                                  "TRUSTEDPATHS");
    }
    std::vector<RecordEntry> Entries() const {
        return ReadInstallationRecord(services, kInstallDir).entries;
    }

    const std::vector<User> users_ = {
        {kMe, "C:\\Users\\me", {"<<未命名配置>>", "Plot"}},
        {kNoAcad, "C:\\Users\\noacad", {}},
        {kHasIni, "C:\\Users\\hasini", {"Profile"}, true},
        {kAway, "C:\\Users\\away", {"Profile"}, false, false},
        {kSystem, "C:\\Windows\\system32\\config\\systemprofile", {"Profile"}},
        {kLinked, "C:\\Users\\linked", {}},
    };
};

TEST_F(UsersInstall, EachLoadedUserButSystemGetsTheStepsAndTheUninstallTakesThemBack) {
    SetupOptions options;
    options.mode = RunMode::VerySilent;
    ASSERT_EQ(RunUnattended(services, catalog, {options, nullptr, true, "20240105", "MZ"}),
              kExitFinished);
    EXPECT_EQ(log.LinesWith("Running as SYSTEM").size(), 1u);
    const std::string ours = "D:\\TOOLS;" + codePage.ToUpper(kInstallDir);
    const struct {
        const User& user;
        std::optional<std::string> list;  // of each AutoCAD profile
        std::string ini;                  // "" when none
    } expected[] = {
        {users_[0], ours, ""},        {users_[1], std::nullopt, ""},
        {users_[2], ours, "mine"},    {users_[3], std::nullopt, ""},  // not loaded: out of reach
        {users_[4], "d:\\tools", ""}, {users_[5], std::nullopt, ""},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.user.sid);
        for (const std::string& profile : e.user.profiles)
            EXPECT_EQ(List(e.user, profile), e.list) << profile;
        EXPECT_EQ(files.ReadFile(Ini(e.user)).value_or(""), e.ini);
    }
    // The record names the user of each list and the path of each file.
    std::vector<std::string> listsOf;
    std::vector<std::string> settingsAt;
    for (const RecordEntry& entry : Entries()) {
        if (const auto* list = std::get_if<TrustedPathsWritten>(&entry))
            listsOf.push_back(list->user);
        if (const auto* file = std::get_if<FilePlaced>(&entry);
            file != nullptr && file->path.ends_with("Varnok\\Varnok.Ini"))
            settingsAt.push_back(file->path);
    }
    EXPECT_EQ(listsOf, (std::vector<std::string>{kMe, kMe, kHasIni}));
    // Settings files are each user's own, given by the per-user setup at their logon.
    EXPECT_EQ(settingsAt, std::vector<std::string>{});
    EXPECT_EQ(registry.GetString(kHklm, kActiveSetupKey, "Version"), "2023,5,26,1");
    EXPECT_EQ(registry.GetString(kHklm, kActiveSetupKey, "StubPath"),
              "\"" + kInstallDir + "\\UserSetup.exe\"");

    // Windows ran the stub for this user at a logon; an installation after the uninstall
    // must run it again.
    registry.SetStringValue(RegRoot::Users, kMe + "\\" + kUserMarker, "Version", "2023,5,26,0");
    // One user signs out before the uninstall: that user keeps the entry.
    registry.UnloadUserHive(kHasIni);
    // The user without AutoCAD started it since, and the per-user setup, which records
    // nothing, gave the new profile the entry.
    registry.SetStringValue(RegRoot::Users, kNoAcad + "\\" + VariablesKey(k2018, "Later"),
                            "TRUSTEDPATHS", ours);
    UndoReport report;
    RemoveInstallation(services, kInstallDir, Entries(), true, report);
    EXPECT_EQ(List(users_[1], "Later"), "D:\\TOOLS");
    EXPECT_EQ(List(users_[0], "Plot"), "d:\\tools");
    EXPECT_EQ(files.ReadFile(Ini(users_[2])), "mine");
    EXPECT_EQ(log.LinesWith("Left TRUSTEDPATHS in HKU\\" + kHasIni).size(), 1u);
    EXPECT_FALSE(registry.KeyExists(RegRoot::Users, kMe + "\\" + kUserMarker));
    // Users out of reach (the one who signed out) get the removal at their next
    // logon: a higher version, whose command is Windows' own PowerShell alone.
    EXPECT_EQ(registry.GetString(kHklm, kActiveSetupKey, "Version"), "2023,5,26,2");
    EXPECT_TRUE(
        registry.GetString(kHklm, kActiveSetupKey, "StubPath")
            ->starts_with("\"C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe\" "));
    EXPECT_NE(registry.GetString(kHklm, kActiveSetupKey, "RemovalScript")
                  ->find("$folder = '" + kInstallDir + "'"),
              std::string::npos);
    EXPECT_TRUE(report.notRemoved.empty());
    ExpectNothingLeftOpen();
}

// Each command of the component runs once for every user, in order: the
// installation's after an uninstall's removal, and the removal after it.
TEST_F(UsersInstall, TheComponentsVersionRisesWithEachInstallationAndUninstall) {
    SetupOptions options;
    options.mode = RunMode::VerySilent;
    for (const char* expected : {"2023,5,26,1", "2023,5,26,2", "2023,5,26,3", "2023,5,26,4"}) {
        SCOPED_TRACE(expected);
        if (registry.GetString(kHklm, kActiveSetupKey, "RemovalScript") || Entries().empty()) {
            ASSERT_EQ(RunUnattended(services, catalog, {options, nullptr, false, "20240105", "MZ"}),
                      kExitFinished);
            EXPECT_FALSE(registry.GetString(kHklm, kActiveSetupKey, "RemovalScript"));
        } else {
            UndoReport report;
            RemoveInstallation(services, kInstallDir, Entries(), true, report);
            EXPECT_TRUE(registry.GetString(kHklm, kActiveSetupKey, "RemovalScript"));
        }
        EXPECT_EQ(registry.GetString(kHklm, kActiveSetupKey, "Version"), expected);
    }
}

TEST_F(UsersInstall, OnlyTheRunningAccountsOwnFolderGetsTheSettingsFile) {
    const auto othersFiles = [&] {
        std::vector<std::string> found;
        for (std::size_t i = 1; i < users_.size(); ++i) {
            const std::string roaming = users_[i].profileDir + "\\AppData\\Roaming";
            for (const std::string& name : files.List(roaming))
                found.push_back(roaming + "\\" + name);
            for (const std::string& name : files.List(roaming + "\\Varnok"))
                found.push_back(roaming + "\\Varnok\\" + name + "=" +
                                files.ReadFile(roaming + "\\Varnok\\" + name).value_or("(folder)"));
        }
        return found;
    };
    const std::vector<std::string> before = othersFiles();
    SetupOptions options;
    options.mode = RunMode::VerySilent;
    ASSERT_EQ(RunUnattended(services, catalog, {options, nullptr, false, "20240105", "MZ"}),
              kExitFinished);
    EXPECT_EQ(files.ReadFile(Ini(users_[0])), "ini");
    EXPECT_EQ(othersFiles(), before);

    UndoReport report;
    RemoveInstallation(services, kInstallDir, Entries(), true, report);
    EXPECT_FALSE(files.IsFile(Ini(users_[0])));
    EXPECT_EQ(othersFiles(), before);
    EXPECT_EQ(log.LinesWith("Left the settings file of HKU\\" + kHasIni).size(), 1u);
}

}  // namespace
}  // namespace vk::test
