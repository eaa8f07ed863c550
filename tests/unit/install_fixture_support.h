#pragma once
// A sample machine for the installation actions: every memory service, one
// fault injector shared by all of them, and a catalogue over them. The setup
// program lies in C:\dist beside its Data folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/fault_injector.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"
#include "platform/progress.h"

namespace vk::test {

inline const std::string kDataFolder = "C:\\dist\\Data";
inline const std::string kAppData = "C:\\Users\\me\\AppData\\Roaming";
inline const std::string kInstallDir = "C:\\Varnok\\Varnok批打印软件";
inline const std::string kUserAutocad = "SOFTWARE\\Autodesk\\AutoCAD\\";
inline constexpr RegRoot kHkcu = RegRoot::CurrentUser;
inline constexpr RegRoot kHklm = RegRoot::LocalMachine;

class CountingProgress : public IProgress {
public:
    void Step() override { ++steps; }
    int steps = 0;
};

// The memory registry, remembering the text of every REG_SZ written: the
// length passed leaves out the NUL, whatever the registry then stores. Texts
// written wide are kept apart.
class RecordingRegistry : public memory::MemoryRegistry {
public:
    using MemoryRegistry::MemoryRegistry;
    OsResult SetString(RegHandle key, const std::string& name, const std::string& text) override {
        stringsWritten.push_back(text);
        return MemoryRegistry::SetString(key, name, text);
    }
    OsResult SetText(RegHandle key, const std::string& name, std::uint32_t type,
                     const std::u16string& text) override {
        textsWritten.push_back(text);
        return MemoryRegistry::SetText(key, name, type, text);
    }
    std::vector<std::string> stringsWritten;
    std::vector<std::u16string> textsWritten;
};

class InstallMachine {
public:
    InstallMachine();
    InstallMachine(const InstallMachine&) = delete;
    InstallMachine& operator=(const InstallMachine&) = delete;

    // A user in the profile list (ProfileImagePath); its hive is loaded
    // when HKEY_USERS has its SID.
    void AddUser(const std::string& sid, const std::string& profileDir);
    // A file in Data.
    void AddDataFile(const std::string& name, const std::string& content = "data",
                     std::uint32_t attributes = kAttrArchive);
    // A product of `year` as discovery records it, with its installation
    // folder created (and its Fonts and Drv folders when asked).
    void AddProduct(int year, const std::string& productKey, const std::string& location,
                    bool withSupportFolders = true);
    // "TRUSTEDPATHS" of one profile below HKEY_CURRENT_USER, stored with its NUL.
    void SetTrustedPaths(const std::string& releaseAndProduct, const std::string& profile,
                         const std::string& list);
    std::optional<std::string> TrustedPaths(const std::string& releaseAndProduct,
                                            const std::string& profile) const;
    // How many operations of one kind the run made.
    std::size_t Calls(const std::string& operation) const;
    // No registry key and no find handle left open.
    void ExpectNothingLeftOpen() const;

    memory::FaultInjector faults;
    RecordingRegistry registry{&faults};
    memory::MemoryFileSystem files{&faults};
    memory::MemoryProcessList processes{&faults};
    memory::MemoryPrompts prompts{&faults};
    memory::Cp936CodePage codePage;
    memory::MemoryLog log;
    memory::MemoryRandom random{&faults};
    Services services{registry, files, processes, prompts, codePage, log, random};
    CAcadReleaseCatalog catalog{services};
    CountingProgress progress;
};

class InstallFixture : public ::testing::Test, public InstallMachine {};

// "...\Profiles\<profile>\Variables" below a product key of HKEY_CURRENT_USER.
std::string VariablesKey(const std::string& releaseAndProduct, const std::string& profile);

}  // namespace vk::test
