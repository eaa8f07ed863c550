// The contract suites' subjects in the native build: fresh memory services.
#include <string>
#include <vector>

#include "contract/contract_subject.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace vk::contract {
namespace {

class MemoryRegistryScratch : public RegistryScratch {
public:
    MemoryRegistryScratch() {
        registry_.AddKey(RegRoot::CurrentUser, "Software\\VarnokContract\\Scratch");
        RegHandle user = kNoKey;
        registry_.OpenRoot(RegRoot::CurrentUser, user);
        registry_.OpenKey(user, "Software\\VarnokContract\\Scratch", key_);
        registry_.CloseKey(user);
    }
    IRegistry& Registry() override { return registry_; }
    RegHandle Key() override { return key_; }

private:
    memory::MemoryRegistry registry_;
    RegHandle key_ = kNoKey;
};

class MemoryFileScratch : public FileScratch {
public:
    MemoryFileScratch() { files_.AddFolder(kFolder); }
    IFileSystem& Files() override { return files_; }
    std::string Folder() override { return kFolder; }
    void WriteFile(const std::string& path, const std::string& content) override {
        files_.AddFile(path, content);
    }
    std::optional<std::string> ReadFile(const std::string& path) override {
        return files_.ReadFile(path);
    }
    void SetEnvironment(const std::string& name, const std::optional<std::string>& value) override {
        if (value) {
            files_.SetEnvironmentVariable(name, *value);
        } else {
            files_.ClearEnvironmentVariable(name);
        }
    }
    void SetCurrentFolder(const std::string& path) override { files_.SetCurrentFolder(path); }

private:
    static constexpr char kFolder[] = "C:\\Users\\user\\AppData\\Local\\Temp\\VarnokContract";
    memory::MemoryFileSystem files_;
};

class MemoryProcessScratch : public ProcessScratch {
public:
    IProcessList& Processes() override { return processes_; }
    void Start(const std::string& executableName) override {
        running_.push_back(executableName);
        processes_.SetExecutableNames(running_);
    }
    void StopAll() override {
        running_.clear();
        processes_.SetExecutableNames(running_);
    }

private:
    memory::MemoryProcessList processes_;
    std::vector<std::string> running_;
};

class MemoryPromptScratch : public PromptScratch {
public:
    IPrompts& Prompts() override { return prompts_; }
    void AnswerNext(const std::string&, int button) override { prompts_.QueueAnswer(button); }

private:
    memory::MemoryPrompts prompts_;
};

}  // namespace

std::unique_ptr<RegistryScratch> MakeRegistryScratch() {
    return std::make_unique<MemoryRegistryScratch>();
}

ICodePage& CodePageUnderTest() {
    static memory::Cp936CodePage codePage;
    return codePage;
}

IRandom& RandomUnderTest() {
    static memory::MemoryRandom random;
    return random;
}

std::unique_ptr<FileScratch> MakeFileScratch() {
    return std::make_unique<MemoryFileScratch>();
}

std::unique_ptr<ProcessScratch> MakeProcessScratch() {
    return std::make_unique<MemoryProcessScratch>();
}

std::unique_ptr<PromptScratch> MakePromptScratch() {
    return std::make_unique<MemoryPromptScratch>();
}

}  // namespace vk::contract
