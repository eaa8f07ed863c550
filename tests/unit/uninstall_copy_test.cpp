// The uninstaller's temporary copy: a new folder with a name nobody can guess,
// only SYSTEM and Administrators inside from its first moment, a copy that
// never writes into a file someone else made, and nothing left when a step fails.
#include <gtest/gtest.h>

#include "app/uninstall_start.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/fault_injector.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace vk::test {
namespace {

const std::string kTemp = "C:\\Windows\\Temp";
const std::string kSelf = "C:\\Varnok\\Varnok批打印软件\\Uninstall.exe";

// Tells copies that may overwrite from copies into a new name only.
class CopyWatchingFiles : public memory::MemoryFileSystem {
public:
    using MemoryFileSystem::MemoryFileSystem;
    OsResult CopyFile(const std::string& source, const std::string& destination) override {
        ++overwritingCopies;
        return MemoryFileSystem::CopyFile(source, destination);
    }
    OsResult CopyFileNew(const std::string& source, const std::string& destination) override {
        ++newCopies;
        return MemoryFileSystem::CopyFileNew(source, destination);
    }
    int overwritingCopies = 0;
    int newCopies = 0;
};

// The folder name the memory generator draws first (its sequence is fixed).
std::string FirstDrawnFolder() {
    memory::MemoryRandom random;
    std::uint8_t bytes[kUninstallCopyNameBytes] = {};
    random.Fill(bytes, sizeof bytes);
    std::string name = kTemp + "\\Varnok-";
    for (const std::uint8_t byte : bytes) {
        name += "0123456789abcdef"[byte >> 4];
        name += "0123456789abcdef"[byte & 0x0F];
    }
    return name;
}

enum class Planted { Nothing, Folder, File };

struct Case {
    const char* name;
    Planted planted;    // at the first name drawn, by someone else
    const char* fault;  // an operation that fails, or none
    bool made;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class TemporaryCopy : public ::testing::TestWithParam<Case> {
protected:
    TemporaryCopy() {
        files.SetModulePath(kSelf);
        files.AddFile(kSelf, "the uninstaller");
        files.AddFolder(kTemp);
    }
    memory::FaultInjector faults;
    memory::MemoryRegistry registry{&faults};
    CopyWatchingFiles files{&faults};
    memory::MemoryProcessList processes{&faults};
    memory::MemoryPrompts prompts{&faults};
    memory::Cp936CodePage codePage;
    memory::MemoryLog log;
    memory::MemoryRandom random{&faults};
    Services services{registry, files, processes, prompts, codePage, log, random};
};

TEST_P(TemporaryCopy, GoesIntoANewProtectedFolderOrLeavesNothing) {
    const Case& c = GetParam();
    const std::string taken = FirstDrawnFolder();
    if (c.planted == Planted::Folder)
        files.AddFile(taken + "\\VarnokUninstall.exe", "someone else's program");
    if (c.planted == Planted::File)
        files.AddFile(taken, "someone else's file");
    if (c.fault != nullptr)
        faults.FailOperation(c.fault);
    const std::vector<std::string> before = files.List(kTemp);

    UninstallerCopy copy;
    const OsResult result = CopyUninstaller(services, kTemp, copy);

    if (!c.made) {
        EXPECT_NE(result, kOk);
        EXPECT_EQ(files.List(kTemp), before);
        EXPECT_EQ(log.LinesWith("FAILED: ").size(), 1u);
        return;
    }
    ASSERT_EQ(result, kOk);
    EXPECT_EQ(copy.folder.size(), kTemp.size() + 1 + 7 + 2 * kUninstallCopyNameBytes);
    EXPECT_EQ(copy.folder.rfind(kTemp + "\\Varnok-", 0), 0u);
    EXPECT_EQ(copy.folder == taken, c.planted == Planted::Nothing);
    EXPECT_EQ(files.CreatedWithSecurity(copy.folder), kUninstallCopyFolderSddl);
    EXPECT_EQ(copy.program, copy.folder + "\\VarnokUninstall.exe");
    EXPECT_EQ(files.ReadFile(copy.program), "the uninstaller");
    EXPECT_EQ(files.newCopies, 1);
    EXPECT_EQ(files.overwritingCopies, 0);
    // What someone else put there is neither used nor changed.
    if (c.planted == Planted::Folder) {
        EXPECT_EQ(files.ReadFile(taken + "\\VarnokUninstall.exe"), "someone else's program");
    }
    if (c.planted == Planted::File) {
        EXPECT_EQ(files.ReadFile(taken), "someone else's file");
    }

    RemoveUninstallerCopy(services, copy);
    EXPECT_EQ(files.List(kTemp), before);
}

INSTANTIATE_TEST_SUITE_P(
    , TemporaryCopy,
    ::testing::Values(Case{"Fresh", Planted::Nothing, nullptr, true},
                      Case{"NameTakenByAFolder", Planted::Folder, nullptr, true},
                      Case{"NameTakenByAFile", Planted::File, nullptr, true},
                      Case{"NoRandomBytes", Planted::Nothing, "RtlGenRandom", false},
                      Case{"FolderNotMade", Planted::Nothing, "CreateDirectory", false},
                      Case{"CopyFailed", Planted::Nothing, "CopyFile", false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vk::test
