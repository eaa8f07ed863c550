// The machine switched off after each operation in turn of a whole
// installation, and of an uninstall: whatever had not reached the disk is
// gone (the record's lines are flushed in groups; a group not yet flushed is
// lost with the program). The next SetUp.exe takes the interrupted run back
// and installs, or the uninstall runs again; after an uninstall the machine
// is exactly as it was before the first installation, every time.
#include <gtest/gtest.h>

#include "engine/journal/record.h"
#include "engine/uninstall.h"
#include "sample_machine_support.h"

namespace vk::test {
namespace {

// The run with the power cut before operation `at`: the operation that never
// happened; empty when the run ended first.
template <typename Run>
std::string CutAt(InstallMachine& machine, std::size_t at, Run run) {
    machine.faults.CutPowerAt(at);
    std::string operation;
    try {
        run();
    } catch (const memory::PowerCut& cut) {
        operation = cut.operation;
    }
    machine.faults.Reset();
    return operation;
}

std::size_t OperationsOf(InstallMachine& machine) {
    return machine.faults.OperationCount();
}

TEST(PowerCut, DuringAnInstallationTheNextOneTakesItBack) {
    std::size_t operations = 0;
    {
        std::unique_ptr<InstallMachine> machine = SampleMachine(kIdRetry);
        ASSERT_EQ(InstallAll(*machine).result, InstallResult::Completed);
        operations = OperationsOf(*machine);
    }
    for (std::size_t at = 1; at <= operations; ++at) {
        std::unique_ptr<InstallMachine> machine = SampleMachine(kIdRetry);
        const MachineState before = StateOf(*machine);
        const std::string operation = CutAt(*machine, at, [&] { InstallAll(*machine); });
        SCOPED_TRACE("power cut before operation " + std::to_string(at) + ", " + operation);
        ASSERT_FALSE(operation.empty());
        ASSERT_EQ(InstallAll(*machine).result, InstallResult::Completed);
        EXPECT_EQ(machine->log.Failures(), 0u);
        ExpectUninstalledToBefore(*machine, before);
        if (HasFailure())
            break;  // one point of failure is enough to read
    }
}

TEST(PowerCut, DuringAnUninstallItRunsAgainToTheEnd) {
    const auto uninstall = [](InstallMachine& machine) {
        const RecordOfInstallation record = ReadInstallationRecord(machine.services, kInstallDir);
        ASSERT_EQ(record.state, RecordState::Read) << record.problem;
        UndoReport report;
        RemoveInstallation(machine.services, kInstallDir, record.entries, true, report);
    };
    std::size_t operations = 0;
    {
        std::unique_ptr<InstallMachine> machine = SampleMachine(kIdRetry);
        ASSERT_EQ(InstallAll(*machine).result, InstallResult::Completed);
        machine->faults.Reset();
        uninstall(*machine);
        operations = OperationsOf(*machine);
    }
    for (std::size_t at = 1; at <= operations; ++at) {
        std::unique_ptr<InstallMachine> machine = SampleMachine(kIdRetry);
        const MachineState before = StateOf(*machine);
        ASSERT_EQ(InstallAll(*machine).result, InstallResult::Completed);
        machine->faults.Reset();
        const std::string operation = CutAt(*machine, at, [&] { uninstall(*machine); });
        SCOPED_TRACE("power cut before operation " + std::to_string(at) + " of the uninstall, " +
                     operation);
        ASSERT_FALSE(operation.empty());
        ExpectUninstalledToBefore(*machine, before);
        if (HasFailure())
            break;
    }
}

}  // namespace
}  // namespace vk::test
