#include "sample_machine_support.h"

#include <set>

#include "engine/acad_running.h"
#include "engine/active_setup.h"
#include "engine/journal/record.h"
#include "engine/uninstall.h"

namespace vk::test {
namespace {

void AddRegistry(const memory::MemoryRegistry& registry, RegRoot root, const std::string& path,
                 MachineState& state) {
    const std::string key = (root == kHklm ? "HKLM\\" : "HKCU\\") + path;
    state["key " + key] = "";
    for (const std::string& name : registry.ValueNames(root, path)) {
        // The record's seal follows the record's lines, which are not compared either.
        if (name == "RecordSeal")
            continue;
        const std::optional<memory::RegValue> value = registry.GetValue(root, path, name);
        const bool text = value->type == kRegSz || value->type == kRegExpandSz;
        state["value " + key + "|" + name] =
            std::to_string(value->type) + ":" +
            (text ? *registry.GetString(root, path, name)
                  : std::string(value->data.begin(), value->data.end()));
    }
    for (const std::string& name : registry.SubkeyNames(root, path))
        AddRegistry(registry, root, path.empty() ? name : path + "\\" + name, state);
}

void AddFiles(const memory::MemoryFileSystem& files, const std::string& folder,
              MachineState& state) {
    for (const std::string& name : files.List(folder + "\\")) {
        const std::string path = folder + "\\" + name;
        // Attributes apart: a copy that fails may still have cleared a flag.
        state["attributes " + path] = std::to_string(*files.AttributesOf(path));
        if (files.IsFolder(path)) {
            state["folder " + path] = "";
            AddFiles(files, path, state);
        } else {
            state["file " + path] = name == kRecordFileName ? "(record)" : *files.ReadFile(path);
        }
    }
}

}  // namespace

std::string Differences(const MachineState& actual, const MachineState& expected) {
    std::string text;
    for (const auto& [name, value] : actual) {
        const auto other = expected.find(name);
        if (other == expected.end())
            text += "+ " + name + " = " + value.substr(0, 60) + "\n";
        else if (other->second != value)
            text += "~ " + name + " = " + value.substr(0, 60) + " (not " +
                    other->second.substr(0, 60) + ")\n";
    }
    for (const auto& [name, value] : expected) {
        if (actual.count(name) == 0)
            text += "- " + name + "\n";
    }
    return text;
}

MachineState StateOf(const InstallMachine& machine) {
    MachineState state;
    AddRegistry(machine.registry, kHklm, "", state);
    AddRegistry(machine.registry, kHkcu, "", state);
    AddFiles(machine.files, "C:", state);
    AddFiles(machine.files, "D:", state);
    return state;
}

std::unique_ptr<InstallMachine> SampleMachine(int answer) {
    auto machine = std::make_unique<InstallMachine>();
    machine->files.Remove("C:\\Varnok");
    for (const char* name : {"SetUp.exe", "Varnok_EN.shx", "Varnok_HZ.shx", "Varnok.prt5",
                             "Varnok.prt7", "Varnok.prt9", "Varnok.Ini", "VK_BatchPlot2018.ARX"}) {
        machine->AddDataFile(name, std::string("content of ") + name);
    }
    machine->AddProduct(2008, k2008, "C:\\Program Files (x86)\\AutoCAD 2008");
    machine->AddProduct(2018, k2018, k2018Acad);
    machine->files.AddFile(kOldFont, "old", kAttrReadOnly | kAttrArchive);
    machine->registry.SetStringValue(kHklm, k2018 + "Applications\\VK_BatchPlot2018", "OLD",
                                     "left by an earlier installation");
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", kProfile, "d:\\tools;e:\\cad\\...");
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", "Other", std::string(14000, 'x') + ";c:\\lib");
    machine->registry.AddKey(kHkcu, kUserAutocad + "R17.1\\ACAD-6001:804\\Profiles\\" + kProfile);
    if (answer == kIdRetry) {
        // Every failed copy is retried once, then ignored.
        machine->prompts.SetResponder(
            [seen = std::set<std::string>()](const memory::PromptRecord& box) mutable {
                return seen.insert(box.text).second ? kIdRetry : kIdIgnore;
            });
    } else {
        machine->prompts.SetResponder([answer](const memory::PromptRecord&) { return answer; });
    }
    return machine;
}

InstallOutcome InstallAll(InstallMachine& machine) {
    IsAcadRunning(machine.services);
    InstallRequest request{"C:\\Varnok", {}, &machine.progress};
    request.selected.fill(1);
    request.version = "2023.5.26";
    request.installDate = "20261208";
    request.logonProgram = "MZ logon program";
    return RunInstallation(machine.services, machine.catalog, request);
}

void ExpectUninstalledToBefore(InstallMachine& machine, const MachineState& before) {
    const RecordOfInstallation record = ReadInstallationRecord(machine.services, kInstallDir);
    ASSERT_NE(record.state, RecordState::Damaged) << record.problem;
    ASSERT_NE(record.state, RecordState::Foreign) << record.problem;
    if (record.state == RecordState::Missing) {
        // An uninstall cut short once the record was gone: finished as the uninstaller does.
        FinishRemovalCutShort(machine.services, kInstallDir);
    } else {
        UndoReport report;
        RemoveInstallation(machine.services, kInstallDir, record.entries, true, report);
        EXPECT_TRUE(report.notRemoved.empty());
    }
    MachineState after = StateOf(machine);
    const std::string component = "HKLM\\" + std::string(kActiveSetupKey);
    if (after.count("key " + component) != 0) {
        EXPECT_NE(after["value " + component + "|StubPath"].find("powershell.exe"),
                  std::string::npos);
    }
    std::erase_if(after, [&](const auto& entry) {
        return entry.first.starts_with("key " + component) ||
               entry.first.starts_with("value " + component + "|");
    });
    EXPECT_EQ(Differences(after, before), "");
    machine.ExpectNothingLeftOpen();
}

}  // namespace vk::test
