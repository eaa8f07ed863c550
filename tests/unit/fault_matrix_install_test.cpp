// The whole installation (check, deployment, demand load, trusted paths,
// support files) run once to count its OS operations, then once per
// operation with that one failing. Beyond surviving, each run must show the
// outcome its failure calls for: the missing-Data message and an untouched
// machine, the copy-failure question that a retry answers, or nothing at all
// and only the work concerned skipped. Whatever fails, the machine ends up
// with nothing that neither the clean run nor the untouched machine has.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "install/acad_running.h"
#include "install/install_texts.h"
#include "install/installation.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string k2008 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
const std::string k2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\";
const std::string k2018Acad = "D:\\Program Files\\Autodesk\\AutoCAD 2018\\";
const std::string kProfile = "<<未命名配置>>";

// Everything on the machine that an installation may change, by name:
// registry keys and values of both roots, folders and files of drives C:
// and D: with their attributes.
using MachineState = std::map<std::string, std::string>;

void AddRegistry(const memory::MemoryRegistry& registry, RegRoot root, const std::string& path,
                 MachineState& state) {
    const std::string key = (root == kHklm ? "HKLM\\" : "HKCU\\") + path;
    state["key " + key] = "";
    for (const std::string& name : registry.ValueNames(root, path)) {
        const std::optional<memory::RegValue> value = registry.GetValue(root, path, name);
        state["value " + key + "|" + name] =
            std::to_string(value->type) + ":" + std::string(value->data.begin(), value->data.end());
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
            state["file " + path] = *files.ReadFile(path);
        }
    }
}

MachineState StateOf(const InstallMachine& machine) {
    MachineState state;
    AddRegistry(machine.registry, kHklm, "", state);
    AddRegistry(machine.registry, kHkcu, "", state);
    AddFiles(machine.files, "C:", state);
    AddFiles(machine.files, "D:", state);
    return state;
}

// The sample: a 32-bit 2008 and a 2018 (whose old demand-load key carries a
// value of its own, and whose Fonts folder holds a read-only font of an
// earlier installation), no install or settings folder yet, and three
// profiles: a short list, a list longer than the 13000-byte buffer, and one
// without a "Variables" key.
std::unique_ptr<InstallMachine> SampleMachine() {
    auto machine = std::make_unique<InstallMachine>();
    machine->files.Remove("C:\\Varnok");  // the installation makes it
    for (const char* name : {"SetUp.exe", "Varnok_EN.shx", "Varnok_HZ.shx", "Varnok.prt5",
                             "Varnok.prt7", "Varnok.prt9", "Varnok.Ini", "VK_BatchPlot2018.ARX"}) {
        machine->AddDataFile(name, std::string("content of ") + name);
    }
    machine->AddProduct(2008, k2008, "C:\\Program Files (x86)\\AutoCAD 2008");
    machine->AddProduct(2018, k2018, k2018Acad);
    machine->files.AddFile(k2018Acad + "Fonts\\Varnok_EN.shx", "old", kAttrReadOnly);
    machine->registry.SetStringValue(kHklm, k2018 + "Applications\\VK_BatchPlot2018", "OLD",
                                     "left by an earlier installation");
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", kProfile, "d:\\tools;e:\\cad\\...");
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", "Other", std::string(14000, 'x') + ";c:\\lib");
    machine->registry.AddKey(kHkcu, kUserAutocad + "R17.1\\ACAD-6001:804\\Profiles\\" + kProfile);
    // Every failed copy is retried once, then ignored.
    machine->prompts.SetResponder(
        [seen = std::set<std::string>()](const memory::PromptRecord& box) mutable {
            return seen.insert(box.text).second ? kIdRetry : kIdIgnore;
        });
    return machine;
}

// The operation counts at which each step of the installation ended.
struct Steps {
    std::size_t check = 0;
    std::size_t folders = 0;  // the chosen folder and the product folder created
    std::size_t deploy = 0;
    std::size_t registrations = 0;
};

// Remembers how many operations had been made at each step of the progress.
class OperationsAtSteps : public IProgress {
public:
    explicit OperationsAtSteps(const memory::FaultInjector& faults) : faults_(faults) {}
    void Step() override { at.push_back(faults_.OperationCount()); }
    std::vector<std::size_t> at;

private:
    const memory::FaultInjector& faults_;
};

// As the install page runs it: the check, then the engine.
bool InstallAll(InstallMachine& machine, Steps* steps = nullptr) {
    IsAcadRunning(machine.services);
    const std::size_t afterCheck = machine.faults.OperationCount();
    OperationsAtSteps progress(machine.faults);
    InstallRequest request{"C:\\Varnok", {}, &progress};
    request.selected.fill(1);
    const InstallOutcome outcome = RunInstallation(machine.services, machine.catalog, request);
    // The engine steps after the deployment, the registrations and the support files.
    if (steps != nullptr && progress.at.size() >= 3) {
        const std::size_t last = progress.at.size() - 1;
        *steps = Steps{afterCheck, afterCheck + 2, progress.at[last - 2], progress.at[last - 1]};
    }
    return outcome.result == InstallResult::Completed;
}

// What a failure of one operation must lead to.
enum class Outcome {
    MissingData,             // the missing-Data message; nothing changed but the two folders
    RetriedCopy,             // one copy-failure question; the retry makes the clean result
    UncreatedInstallFolder,  // a question for each file bound for it; none copied
    Silent,                  // no message; only the work concerned is missing
    Harmless,                // no message, and the clean result all the same
};

const char* Name(Outcome outcome) {
    switch (outcome) {
        case Outcome::MissingData:
            return "missing Data";
        case Outcome::RetriedCopy:
            return "retried copy";
        case Outcome::UncreatedInstallFolder:
            return "uncreated install folder";
        case Outcome::Silent:
            return "silent";
        case Outcome::Harmless:
            return "harmless";
    }
    return "?";
}

// The outcome of failing operation `n` (1-based) of the clean run's `log`.
Outcome Expected(const std::vector<std::string>& log, const Steps& steps, std::size_t n) {
    const std::string& kind = log[n - 1];
    // The running-AutoCAD check cannot tell, and lets the installation go on.
    if (n <= steps.check)
        return Outcome::Harmless;
    if (n > steps.deploy) {
        // Registrations and support files report nothing.
        return Outcome::Silent;
    }
    auto firstInDeploy = [&](const std::string& wanted) {
        for (std::size_t i = steps.folders + 1; i <= steps.deploy; ++i) {
            if (log[i - 1] == wanted)
                return i == n;
        }
        return false;
    };
    // The chosen folder not made: the product folder below it cannot be
    // made either. The product folder not made: the deployment makes it.
    if (n <= steps.folders)
        return n == steps.check + 1 ? Outcome::UncreatedInstallFolder : Outcome::Harmless;
    // Locating the Data folder: the module path, then the folder's kind.
    if (kind == "GetModuleFileName" || (kind == "FindFirstFile" && firstInDeploy(kind)))
        return Outcome::MissingData;
    // The deployment's own try at the product folder, which is there already.
    if (kind == "CreateDirectory" && firstInDeploy(kind))
        return Outcome::Harmless;
    // A copy that fails, also for want of its settings folder, is asked
    // about; the retry succeeds.
    if (kind == "CopyFile" || kind == "CreateDirectory")
        return Outcome::RetriedCopy;
    // No file of this deployment is read-only, so reading attributes only
    // finds nothing to clear; the settings folder has a second source when
    // the variable cannot be read.
    if (kind == "GetFileAttributes" || kind == "GetEnvironmentVariable")
        return Outcome::Harmless;
    // The listing fails or ends early: files are left out, silently.
    return Outcome::Silent;
}

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

void ExpectPromptsAreCopyQuestions(InstallMachine& machine, const MachineState& clean,
                                   std::set<std::string>& destinations) {
    for (const memory::PromptRecord& box : machine.prompts.Records()) {
        EXPECT_EQ(box.caption, kSetupCaption);
        EXPECT_EQ(box.owner, machine.prompts.MainWindow());
        EXPECT_EQ(box.type, kMbAbortRetryIgnore);
        bool named = false;
        for (const auto& [name, value] : clean) {
            if (name.starts_with("file ") && box.text == CopyFailedText(name.substr(5))) {
                destinations.insert(name.substr(5));
                named = true;
            }
        }
        EXPECT_TRUE(named) << box.text;
    }
}

TEST(InstallFaultMatrix, EachFailedOperationHasItsOutcome) {
    MachineState before;
    MachineState clean;
    std::vector<std::string> log;
    Steps steps;
    {
        std::unique_ptr<InstallMachine> machine = SampleMachine();
        before = StateOf(*machine);
        ASSERT_TRUE(InstallAll(*machine, &steps));
        ASSERT_EQ(machine->prompts.Count(), 0u);
        clean = StateOf(*machine);
        log = machine->faults.Log();
    }
    // The sample reaches every kind of operation the installation makes.
    EXPECT_EQ(std::set<std::string>(log.begin(), log.end()),
              (std::set<std::string>{
                  "CreateToolhelp32Snapshot", "GetModuleFileName", "FindFirstFile", "FindNextFile",
                  "GetFileAttributes", "SetFileAttributes", "CreateDirectory", "CopyFile",
                  "GetEnvironmentVariable", "RegOpenRoot", "RegOpenKey", "RegOpenKeyEx",
                  "RegCreateKey", "RegQueryInfoKey", "RegEnumKeyEx", "RegQueryValueEx",
                  "RegSetValueEx", "RegDeleteKey"}));
    const std::string installDirFile = "file " + kInstallDir + "\\";
    // What the installation makes before it looks for Data.
    MachineState withFolders = before;
    for (const std::string& folder : {std::string("C:\\Varnok"), kInstallDir}) {
        withFolders["folder " + folder] = "";
        withFolders["attributes " + folder] = std::to_string(kAttrDirectory);
    }

    std::map<Outcome, std::size_t> seen;
    for (std::size_t n = 1; n <= log.size(); ++n) {
        const Outcome outcome = Expected(log, steps, n);
        SCOPED_TRACE("failing operation " + std::to_string(n) + " (" + log[n - 1] +
                     "): " + Name(outcome));
        ++seen[outcome];
        std::unique_ptr<InstallMachine> machine = SampleMachine();
        machine->faults.FailNth(n);
        const bool installed = InstallAll(*machine);
        EXPECT_EQ(machine->faults.FailuresInjected(), 1u);
        machine->ExpectNothingLeftOpen();
        const MachineState state = StateOf(*machine);
        ExpectOnlyWorkSkipped(state, before, clean);

        std::set<std::string> asked;
        switch (outcome) {
            case Outcome::MissingData:
                EXPECT_FALSE(installed);
                ASSERT_EQ(machine->prompts.Count(), 1u);
                EXPECT_EQ(machine->prompts.Records()[0].text, kMissingDataText);
                EXPECT_EQ(machine->prompts.Records()[0].type, kMbOk);
                EXPECT_EQ(state, withFolders);
                break;
            case Outcome::RetriedCopy:
                EXPECT_TRUE(installed);
                EXPECT_EQ(machine->prompts.Count(), 1u);
                ExpectPromptsAreCopyQuestions(*machine, clean, asked);
                EXPECT_EQ(state, clean);
                break;
            case Outcome::UncreatedInstallFolder: {
                EXPECT_TRUE(installed);
                ExpectPromptsAreCopyQuestions(*machine, clean, asked);
                // Each file bound for the install folder: asked, retried, asked, ignored.
                std::set<std::string> bound;
                for (const auto& [name, value] : clean) {
                    if (name.starts_with(installDirFile))
                        bound.insert(name.substr(5));
                }
                EXPECT_EQ(asked, bound);
                EXPECT_EQ(machine->prompts.Count(), 2 * bound.size());
                for (const std::string& file : bound)
                    EXPECT_FALSE(machine->files.IsFile(file)) << file;
                break;
            }
            case Outcome::Silent:
                EXPECT_TRUE(installed);
                EXPECT_EQ(machine->prompts.Count(), 0u);
                break;
            case Outcome::Harmless:
                EXPECT_TRUE(installed);
                EXPECT_EQ(machine->prompts.Count(), 0u);
                EXPECT_EQ(state, clean);
                break;
        }
    }
    // Every outcome was met at least once.
    EXPECT_EQ(seen.size(), 5u);
}

}  // namespace
}  // namespace vk::test
