// The completion page: Esc and the close box end the program as "确  定" does, and nothing is
// written once the page shows. A second installation into the same folder adds nothing twice.
#include <gtest/gtest.h>

#include <string>

#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

using Completion = InstallRun;

TEST_F(Completion, EscAndTheCloseBoxEndTheProgramAndAReinstallAddsNothingTwice) {
    seedMachine(kMachine2018, {kAcad2018Folder});
    MachineState installed;
    for (const bool byEscape : {true, false}) {
        SCOPED_TRACE(byEscape ? "Esc, first installation" : "close box, second installation");
        AppProcess app = start();
        const Window page4 = installFor4(app, goToPage3(app));
        const MachineState shown = MachineState::capture();
        if (byEscape)
            page4.pressEscape();
        else
            page4.clickCloseBox();
        app.waitForExit();
        EXPECT_EQ(MachineState::capture().describe(), shown.describe());
        if (byEscape)
            installed = shown;
    }
    // Same folder again: the same keys and values, the trusted paths not extended.
    EXPECT_TRUE(
        trustedPathsOf(kAcad2018Variables).ends_with(toUtf8(";C:\\VARNOK\\VARNOK批打印软件")));
    EXPECT_EQ(MachineState::capture().describe(), installed.describe());
    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());
}

}  // namespace
}  // namespace vk::e2e::setup
