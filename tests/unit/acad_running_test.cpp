// Whether a running process is AutoCAD.
#include "engine/acad_running.h"

#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

class AcadRunning : public InstallFixture {
protected:
    bool With(std::vector<std::string> names) {
        names.insert(names.begin(), {"System", "explorer.exe"});
        processes.SetExecutableNames(std::move(names));
        return IsAcadRunning(services);
    }
};

TEST_F(AcadRunning, AnyNameHoldingAcadExeInAnyCase) {
    EXPECT_TRUE(With({"acad.exe"}));
    EXPECT_TRUE(With({"ACAD.EXE"}));
    EXPECT_TRUE(With({"Acad.exe"}));
    EXPECT_TRUE(With({"myacad.exe"}));
}

TEST_F(AcadRunning, OtherNamesAreNotAutocad) {
    EXPECT_FALSE(With({"acadlt.exe"}));
    EXPECT_FALSE(With({"acad.ex", "cad.exe"}));
    EXPECT_FALSE(With({}));
    // "\x81" takes the 'a' after it as its trail byte: the name holds no "acad.exe".
    EXPECT_FALSE(
        With({"\x81"
              "acad.exe"}));
}

TEST_F(AcadRunning, NoProcessesOrNoSnapshotMeansNotRunning) {
    processes.SetExecutableNames({});
    EXPECT_FALSE(IsAcadRunning(services));
    processes.SetExecutableNames({"acad.exe"});
    faults.FailOperation("CreateToolhelp32Snapshot");
    EXPECT_FALSE(IsAcadRunning(services));
}

}  // namespace
}  // namespace vk::test
