// The whole installation (check, engine: earlier installation, folders and
// record, deployment, demand load, trusted paths, support files, uninstaller
// and Apps & Features) run once to count its OS operations, then once per
// operation with that one failing. Each run must end in an outcome that says
// what happened: a refusal with its message and an untouched machine, the
// missing-Data message, the copy-failure question that a retry answers (and,
// answered Abort, a rollback to the untouched machine), or nothing at all and
// only the work concerned skipped. And whatever failed, the record that the
// run left undoes it: after an uninstall the machine is as it was.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "engine/acad_running.h"
#include "engine/active_setup.h"
#include "engine/install_texts.h"
#include "engine/installation.h"
#include "engine/journal/record.h"
#include "engine/uninstall.h"
#include "install_fixture_support.h"
#include "sample_machine_support.h"

namespace vk::test {
namespace {

// What a failure of one operation led to.
enum class Outcome {
    Refused,      // a message, and the machine untouched
    MissingData,  // the missing-Data message; nothing but the folders and the record made
    RetriedCopy,  // one copy-failure question; the retry makes the clean result
    RolledBack,   // the same question answered Abort: the machine as it was
    Silent,       // no message; only the work concerned is missing
    Harmless,     // no message, and the clean result all the same
};

// The attributes a file had, with the read-only flag cleared (as Windows
// keeps them: no flag at all reads as FILE_ATTRIBUTE_NORMAL).
std::string WithoutReadOnly(const std::string& attributes) {
    const std::uint32_t cleared =
        static_cast<std::uint32_t>(std::stoul(attributes)) & ~kAttrReadOnly;
    return std::to_string(cleared == 0 ? kAttrNormal : cleared);
}

// Every part of the end state is what the clean run made or what was there
// before (a file's read-only flag may be cleared before a copy that then
// fails); nothing that both have is gone, except an earlier demand-load
// key, which is deleted before it is created anew.
void ExpectOnlyWorkSkipped(const MachineState& state, const MachineState& before,
                           const MachineState& clean) {
    for (const auto& [name, value] : state) {
        const auto inClean = clean.find(name);
        const auto inBefore = before.find(name);
        const bool asClean = inClean != clean.end() && inClean->second == value;
        const bool asBefore =
            inBefore != before.end() &&
            (inBefore->second == value ||
             (name.starts_with("attributes ") && WithoutReadOnly(inBefore->second) == value));
        EXPECT_TRUE(asClean || asBefore) << name << " = " << value.substr(0, 80);
    }
    for (const auto& [name, value] : before) {
        if (clean.count(name) != 0 &&
            name.find("\\Applications\\VK_BatchPlot") == std::string::npos) {
            EXPECT_EQ(state.count(name), 1u) << name << " lost";
        }
    }
}

Outcome Classify(InstallMachine& machine, const InstallOutcome& outcome, const MachineState& state,
                 const MachineState& before, const MachineState& clean) {
    const auto& boxes = machine.prompts.Records();
    switch (outcome.result) {
        case InstallResult::FolderRefused:
        case InstallResult::EarlierRecordDamaged:
            EXPECT_EQ(boxes.size(), 1u);
            EXPECT_EQ(Differences(state, before), "");
            return Outcome::Refused;
        case InstallResult::MissingData: {
            EXPECT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes.at(0).text, kMissingDataText);
            MachineState expected = before;
            for (const std::string& made : {std::string("C:\\Varnok"), kInstallDir}) {
                expected["folder " + made] = "";
                expected["attributes " + made] = std::to_string(kAttrDirectory);
            }
            expected["file " + kInstallDir + "\\" + kRecordFileName] = "(record)";
            // The record's identifier, made before the first change.
            for (const std::string& anchor :
                 {"key " + kAppsFeatures, "value " + kAppsFeatures + "|RecordId",
                  "value " + kAppsFeatures + "|InstallLocation"}) {
                expected[anchor] = state.count(anchor) != 0 ? state.at(anchor) : "(missing)";
            }
            expected["attributes " + kInstallDir + "\\" + kRecordFileName] =
                std::to_string(kAttrArchive);
            EXPECT_EQ(Differences(state, expected), "");
            return Outcome::MissingData;
        }
        case InstallResult::Aborted:
            EXPECT_EQ(boxes.back().text, RolledBackText({}));
            EXPECT_EQ(Differences(state, before), "");
            return Outcome::RolledBack;
        case InstallResult::Completed:
            break;
    }
    for (const memory::PromptRecord& box : boxes) {
        EXPECT_EQ(box.type, kMbAbortRetryIgnore);
        EXPECT_TRUE(box.text.starts_with("拷贝文件 ")) << box.text;
    }
    if (!boxes.empty()) {
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(Differences(state, clean), "");
        return Outcome::RetriedCopy;
    }
    if (state == clean)
        return Outcome::Harmless;
    ExpectOnlyWorkSkipped(state, before, clean);
    return Outcome::Silent;
}

// Whatever the run did, its record takes it back.
void ExpectTheRecordUndoesIt(InstallMachine& machine, const MachineState& before) {
    machine.faults.FailNth(0);
    ExpectUninstalledToBefore(machine, before);
}

TEST(InstallFaultMatrix, EachFailedOperationHasItsOutcomeAndTheRecordUndoesIt) {
    MachineState before;
    MachineState clean;
    std::size_t operations = 0;
    {
        std::unique_ptr<InstallMachine> machine = SampleMachine(kIdRetry);
        before = StateOf(*machine);
        ASSERT_EQ(InstallAll(*machine).result, InstallResult::Completed);
        ASSERT_EQ(machine->prompts.Count(), 0u);
        ASSERT_EQ(machine->log.Failures(), 0u);
        clean = StateOf(*machine);
        operations = machine->faults.OperationCount();
        ExpectTheRecordUndoesIt(*machine, before);
    }

    std::map<Outcome, std::size_t> seen;
    for (std::size_t n = 1; n <= operations; ++n) {
        for (const int answer : {kIdRetry, kIdAbort}) {
            std::unique_ptr<InstallMachine> machine = SampleMachine(answer);
            machine->faults.FailNth(n);
            const InstallOutcome outcome = InstallAll(*machine);
            const std::string failed = machine->faults.Log().at(n - 1);
            SCOPED_TRACE("failing operation " + std::to_string(n) + " (" + failed + "), " +
                         (answer == kIdRetry ? "retried" : "aborted"));
            EXPECT_EQ(machine->faults.FailuresInjected(), 1u);
            machine->ExpectNothingLeftOpen();
            const Outcome kind = Classify(*machine, outcome, StateOf(*machine), before, clean);
            ++seen[kind];
            ExpectTheRecordUndoesIt(*machine, before);
            // Aborting matters only where a question was asked.
            if (kind != Outcome::RetriedCopy)
                break;
        }
    }
    // Every outcome was met at least once.
    EXPECT_EQ(seen.size(), 6u);
}

}  // namespace
}  // namespace vk::test
