// Every refusal of the plan, in its order, with its words, its reason for the
// log and its exit code; what an unattended run adds to two of them.
#include <gtest/gtest.h>

#include <functional>

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "engine/apps_features.h"
#include "engine/install_texts.h"
#include "engine/journal/record.h"
#include "engine/plan.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

using Kind = Refusal::Kind;

struct PlanCase {
    const char* name;
    std::function<void(InstallMachine&, InstallChoices&)> arrange;
    std::optional<Kind> refused;  // none: a plan
    int exitCode;
    const char* reason;  // the start of the log's reason
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class Planning : public InstallFixture, public ::testing::WithParamInterface<PlanCase> {
protected:
    Planning() {
        AddDataFile("VK_BatchPlot2018.ARX");
        files.Remove("C:\\Varnok");
        choices.typedFolder = "C:\\Varnok";
        choices.offered = {2018};
    }
    InstallChoices choices;
};

TEST_P(Planning, RefusesWithItsWordsOrPlans) {
    GetParam().arrange(*this, choices);
    const auto planned = PlanInstallation(services, choices);
    if (!GetParam().refused) {
        ASSERT_TRUE(std::holds_alternative<InstallPlan>(planned));
        EXPECT_EQ(std::get<InstallPlan>(planned).folder, "C:\\Varnok");
        EXPECT_EQ(std::get<InstallPlan>(planned).years, std::vector<int>{2018});
        return;
    }
    ASSERT_TRUE(std::holds_alternative<Refusal>(planned));
    const Refusal& refusal = std::get<Refusal>(planned);
    EXPECT_EQ(refusal.kind, *GetParam().refused);
    EXPECT_EQ(ExitCodeOf(refusal), GetParam().exitCode);
    EXPECT_TRUE(refusal.reason.starts_with(GetParam().reason)) << refusal.reason;
    EXPECT_FALSE(refusal.text.empty());
    EXPECT_FALSE(files.IsFolder(kInstallDir)) << "nothing changes";
}

INSTANTIATE_TEST_SUITE_P(
    , Planning,
    ::testing::Values(
        PlanCase{"ASoundChoice", [](auto&, auto&) {}, std::nullopt, 0, ""},
        PlanCase{"AnInvalidFolder", [](auto&, auto& c) { c.typedFolder = "Varnok"; },
                 Kind::InvalidFolder, 1, "the install folder is not a full path"},
        PlanCase{"AListSeparator", [](auto&, auto& c) { c.typedFolder = "C:\\a;b"; },
                 Kind::ListSeparator, 1, "the install folder holds \";\""},
        PlanCase{"ATooLongFolder",
                 [](auto&, auto& c) { c.typedFolder = "C:\\" + std::string(240, 'v'); },
                 Kind::FolderTooLong, 1, "the install folder is too long"},
        PlanCase{"ALinkOnThePath",
                 [](auto& m, auto&) {
                     m.files.AddFolder("C:\\Varnok");
                     m.files.SetReparseTag("C:\\Varnok", kReparseTagSymlink);
                 },
                 Kind::LinkOnPath, 1, "a folder of the install path is a symbolic link"},
        PlanCase{"AFolderOthersMayChange",
                 [](auto& m, auto&) {
                     m.files.AddFolder("C:\\Varnok");
                     m.files.SetFolderSecurity("C:\\Varnok", {FileOwner::Other, 0x1200A9});
                 },
                 Kind::ReplaceableFolder, 1, "a standard user could replace or add to"},
        PlanCase{"AFolderOthersMayChangeAgreedTo",
                 [](auto& m, auto& c) {
                     m.files.AddFolder("C:\\Varnok");
                     m.files.SetFolderSecurity("C:\\Varnok", {FileOwner::Other, 0x1200A9});
                     c.acceptedReplaceable = "c:\\varnok";
                 },
                 std::nullopt, 0, ""},
        PlanCase{"NothingToServe",
                 [](auto&, auto& c) {
                     c.offered.clear();
                     c.unserved = {2025};
                 },
                 Kind::NoReleaseToServe, 9, "the AutoCAD releases on this machine (2025)"},
        PlanCase{"AYearNotOffered", [](auto&, auto& c) { c.years = std::vector<int>{2020}; },
                 Kind::ReleaseNotOffered, 1, "AutoCAD 2020 is not installed"},
        PlanCase{"NoData", [](auto& m, auto&) { m.files.Remove(kDataFolder); }, Kind::NoData, 1,
                 "no Data folder"},
        PlanCase{"AutoCadRunning",
                 [](auto& m, auto&) { m.processes.SetExecutableNames({"acad.exe"}); },
                 Kind::AcadRunning, 7, "AutoCAD is running: acad.exe"},
        PlanCase{"AutoCadRunningAgreedTo",
                 [](auto& m, auto& c) {
                     m.processes.SetExecutableNames({"acad.exe"});
                     c.acadRunningAccepted = true;
                 },
                 std::nullopt, 0, ""},
        PlanCase{"ADamagedRecordOfAnEarlierInstallation",
                 [](auto& m, auto&) {
                     m.registry.SetTextValue(kHklm, kAppsFeaturesKey, "RecordId", kRegSz,
                                             std::u16string(32, u'a'));
                     m.registry.SetTextValue(kHklm, kAppsFeaturesKey, "InstallLocation", kRegSz,
                                             u"D:\\Old\\Varnok");
                     m.files.AddDrive('D');
                     m.files.AddFile(
                         "D:\\Old\\Varnok\\Uninstall.rec",
                         "Varnok setup record 3\t" + std::string(32, 'a') + "\nrun\tdamaged\n");
                 },
                 Kind::DamagedRecord, 1, "the record of the installation in D:\\Old\\Varnok"}),
    [](const auto& info) { return std::string(info.param.name); });

// The unattended run adds how to choose otherwise on the command line.
TEST(UnattendedWording, AddsTheWayOutOfTheCommandLine) {
    EXPECT_EQ(UnattendedText({Kind::InvalidFolder, "", "The folder:\n\nx\n\nis invalid."}),
              "The folder:\n\nx\n\nis invalid.\n\n请用 /DIR 指定一个完整的路径，例如 "
              "/DIR=\"C:\\Varnok\"。");
    EXPECT_EQ(UnattendedText({Kind::ReplaceableFolder, "", "why"}),
              std::string("why") + kChooseProtectedFolderText);
    EXPECT_EQ(UnattendedText({Kind::AcadRunning, "", kAcadRunningText}), kAcadRunningText);
}

}  // namespace
}  // namespace vk::test
