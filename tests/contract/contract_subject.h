#pragma once
// What each contract suite tests, provided once per build: the Win32 services
// under Wine, the memory services natively. Every scratch area is empty when a
// test starts and is removed when the object that owns it is destroyed.
#include <memory>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/process_list.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/registry.h"

namespace vk::contract {

// A registry and an open key of the test's own below HKEY_CURRENT_USER.
class RegistryScratch {
public:
    virtual ~RegistryScratch() = default;
    virtual IRegistry& Registry() = 0;
    // Owned by the scratch: tests must not close it.
    virtual RegHandle Key() = 0;
};
std::unique_ptr<RegistryScratch> MakeRegistryScratch();

ICodePage& CodePageUnderTest();

IRandom& RandomUnderTest();

// A file system and an empty folder of the test's own.
class FileScratch {
public:
    virtual ~FileScratch() = default;
    virtual IFileSystem& Files() = 0;
    // An absolute path without a trailing backslash.
    virtual std::string Folder() = 0;
    // The test's own access to file contents, which the interface does not offer.
    virtual void WriteFile(const std::string& path, const std::string& content) = 0;
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Sets (or, with nullopt, removes) an environment variable the service reads.
    virtual void SetEnvironment(const std::string& name,
                                const std::optional<std::string>& value) = 0;
    // Makes an existing folder the process's current folder until the scratch ends.
    virtual void SetCurrentFolder(const std::string& path) = 0;
};
std::unique_ptr<FileScratch> MakeFileScratch();

// A process list, and processes of the test's own that it can show.
class ProcessScratch {
public:
    virtual ~ProcessScratch() = default;
    virtual IProcessList& Processes() = 0;
    // Starts a process whose executable file has this name; it runs until
    // StopAll or the end of the scratch.
    virtual void Start(const std::string& executableName) = 0;
    // Ends every started process and waits until it is gone.
    virtual void StopAll() = 0;
};
std::unique_ptr<ProcessScratch> MakeProcessScratch();

// Message boxes, answered without a person.
class PromptScratch {
public:
    virtual ~PromptScratch() = default;
    virtual IPrompts& Prompts() = 0;
    // The next message box with this caption gets `button` pressed.
    virtual void AnswerNext(const std::string& caption, int button) = 0;
};
std::unique_ptr<PromptScratch> MakePromptScratch();

}  // namespace vk::contract
