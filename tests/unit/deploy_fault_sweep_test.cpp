// The whole installation (check, deployment, registrations, support files)
// with one failure injected at every operation in turn: every handle is
// closed, nothing crashes, and no trusted-path list is lost.
#include <gtest/gtest.h>

#include <memory>

#include "engine/acad_running.h"
#include "engine/install_texts.h"
#include "engine/installation.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string k2008 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
const std::string k2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\";
const std::string kProfile = "<<未命名配置>>";
const std::string kOldList = "d:\\tools;e:\\cad\\...";

std::unique_ptr<InstallMachine> SampleMachine() {
    auto machine = std::make_unique<InstallMachine>();
    for (const char* name : {"SetUp.exe", "Varnok_EN.shx", "Varnok_HZ.shx", "Varnok.prt5",
                             "Varnok.prt7", "Varnok.Ini", "VK_BatchPlot2018.ARX"}) {
        machine->AddDataFile(name);
    }
    machine->AddProduct(2008, k2008, "C:\\Program Files (x86)\\AutoCAD 2008");
    machine->AddProduct(2018, k2018, "D:\\Program Files\\Autodesk\\AutoCAD 2018\\");
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", kProfile, kOldList);
    machine->registry.AddKey(kHkcu, kUserAutocad + "R17.1\\ACAD-6001:804\\Profiles\\" + kProfile);
    // A failed copy is retried a few times, then ignored: a folder that could
    // not be created makes every copy into it fail for good.
    machine->prompts.SetResponder([retries = 0](const memory::PromptRecord&) mutable {
        return ++retries <= 5 ? kIdRetry : kIdIgnore;
    });
    return machine;
}

// As the install page runs it: the check, then the engine.
bool InstallAll(InstallMachine& machine) {
    IsAcadRunning(machine.services);
    InstallRequest request{"C:\\Varnok", {}, &machine.progress};
    request.selected.fill(1);
    return RunInstallation(machine.services, machine.catalog, request).result ==
           InstallResult::Completed;
}

TEST(InstallFaultSweep, EveryOperationMayFailOnce) {
    std::size_t operations = 0;
    {
        std::unique_ptr<InstallMachine> clean = SampleMachine();
        ASSERT_TRUE(InstallAll(*clean));
        operations = clean->faults.OperationCount();
        ASSERT_EQ(clean->TrustedPaths("R22.0\\ACAD-1001:804", kProfile),
                  "D:\\TOOLS;E:\\CAD\\...;" + clean->codePage.ToUpper(kInstallDir));
    }
    ASSERT_GT(operations, 50u);

    for (std::size_t k = 1; k <= operations; ++k) {
        SCOPED_TRACE("failing operation " + std::to_string(k));
        std::unique_ptr<InstallMachine> machine = SampleMachine();
        machine->faults.FailNth(k);
        const bool installed = InstallAll(*machine);
        EXPECT_EQ(machine->faults.FailuresInjected(), 1u);
        machine->ExpectNothingLeftOpen();
        if (!installed) {
            // Stopped before anything was installed (a Data folder that could not be
            // found, a folder or record that could not be made): one message says why.
            EXPECT_EQ(machine->prompts.Count(), 1u);
        }
        const std::optional<std::string> list =
            machine->TrustedPaths("R22.0\\ACAD-1001:804", kProfile);
        ASSERT_TRUE(list.has_value());
        EXPECT_TRUE(*list == kOldList ||
                    *list == "D:\\TOOLS;E:\\CAD\\...;" + machine->codePage.ToUpper(kInstallDir))
            << *list;
    }
}

}  // namespace
}  // namespace vk::test
