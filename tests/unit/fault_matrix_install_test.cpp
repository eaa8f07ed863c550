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

namespace vk::test {
namespace {

const std::string k2008 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
const std::string k2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\";
const std::string k2018Acad = "D:\\Program Files\\Autodesk\\AutoCAD 2018\\";
const std::string kProfile = "<<未命名配置>>";
const std::string kAppsFeatures =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnokBatchPlot";
// A font of that name was there before: backed up, replaced, and restored by the undo.
const std::string kOldFont = k2018Acad + "Fonts\\Varnok_EN.shx";

// Everything on the machine that an installation may change, by name:
// registry keys and values of both roots (texts as the ANSI functions read
// them, whichever functions wrote them), folders and files of drives C: and
// D: with their attributes. The record's lines are not compared: what they
// lead to is.
using MachineState = std::map<std::string, std::string>;

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

// The entries in which two states differ, one per line: what a failure shows.
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

// The sample: no install folder yet, a 32-bit 2008 and a 2018 (whose old
// demand-load key carries a value of its own, and whose Fonts folder holds a
// read-only font of an earlier installation), and three profiles: a short
// list, a list longer than the 13000-byte buffer, and one without a
// "Variables" key. Failed copies are answered by `answer`.
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

// As the install page runs it: the check, then the engine.
InstallOutcome InstallAll(InstallMachine& machine) {
    IsAcadRunning(machine.services);
    InstallRequest request{"C:\\Varnok", {}, &machine.progress};
    request.selected.fill(1);
    request.version = "2023.5.26";
    request.installDate = "20261208";
    return RunInstallation(machine.services, machine.catalog, request);
}

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
    const RecordOfInstallation record = ReadInstallationRecord(machine.services, kInstallDir);
    ASSERT_NE(record.state, RecordState::Damaged) << record.problem;
    UndoReport report;
    RemoveInstallation(machine.services, kInstallDir, record.entries, true, report);
    EXPECT_TRUE(report.notRemoved.empty());
    // What stays: the Active Setup component, now the removal for users out of reach.
    MachineState after = StateOf(machine);
    const std::string component = "HKLM\\" + std::string(kActiveSetupKey);
    EXPECT_NE(after["value " + component + "|StubPath"].find("powershell.exe"), std::string::npos);
    std::erase_if(after, [&](const auto& entry) {
        return entry.first.starts_with("key " + component) ||
               entry.first.starts_with("value " + component + "|");
    });
    EXPECT_EQ(Differences(after, before), "");
    machine.ExpectNothingLeftOpen();
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
