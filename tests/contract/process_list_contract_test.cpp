// The process list as the running-AutoCAD check relies on it, asserted alike
// against a Toolhelp snapshot (under Wine) and the memory process list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contract/contract_subject.h"

namespace vk::contract {
namespace {

class ProcessListContract : public ::testing::Test {
protected:
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        EXPECT_EQ(scratch_->Processes().ListExecutableNames(names), kOk);
        return names;
    }
    bool Listed(const std::string& name) {
        const std::vector<std::string> names = Names();
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    std::unique_ptr<ProcessScratch> scratch_ = MakeProcessScratch();
};

TEST_F(ProcessListContract, ARunningProgramIsListedByItsFileNameUntilItEnds) {
    ASSERT_FALSE(Listed("acad.exe")) << "an AutoCAD stand-in from elsewhere is running";
    scratch_->Start("acad.exe");
    EXPECT_TRUE(Listed("acad.exe"));
    scratch_->StopAll();
    EXPECT_FALSE(Listed("acad.exe"));
}

TEST_F(ProcessListContract, FileNamesKeepTheirCaseAndDoubleByteCharacters) {
    scratch_->Start("MyAcad.EXE");
    scratch_->Start("天正acad.exe");
    EXPECT_TRUE(Listed("MyAcad.EXE"));
    EXPECT_TRUE(Listed("天正acad.exe"));
}

}  // namespace
}  // namespace vk::contract
