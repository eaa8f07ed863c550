// What the fuzz targets found, pinned as plain tests beside the inputs that
// found it (corpus/<target>/regression-*).
#include <gtest/gtest.h>

#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "core/digest.h"
#include "core/folder_path_rules.h"
#include "engine/journal/record.h"
#include "engine/journal/record_scope.h"
#include "engine/trusted_paths.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace vk {
namespace {

const memory::Cp936CodePage kCp;

// A lead byte that ends the old list took the appended ";" as its trail byte,
// so the folder was glued to the last entry and appended again on every
// installation.
TEST(FuzzFindings, OldListEndingInALeadByteKeepsTheFolderApart) {
    const std::string old = "D:\\X\xC9";
    const std::string composed = ComposeTrustedPaths(old, "C:\\Varnok", kCp);
    EXPECT_EQ(composed, "D:\\X\xC9;;C:\\VARNOK");
    EXPECT_TRUE(TrustedPathsHold(composed, "C:\\Varnok", kCp));
    EXPECT_EQ(ComposeTrustedPaths(composed, "C:\\Varnok", kCp), composed);
}

// A folder with ";" in its name is several entries once listed: it was never
// found again, and every installation appended it once more.
TEST(FuzzFindings, FolderWithASemicolonIsAddedOnce) {
    const std::string folder = "C:\\a;b\\Varnok";
    const std::string composed = ComposeTrustedPaths("D:\\x", folder, kCp);
    EXPECT_EQ(composed, "D:\\X;C:\\A;B\\VARNOK");
    EXPECT_EQ(ComposeTrustedPaths(composed, folder, kCp), composed);
    EXPECT_TRUE(TrustedPathsHold("C:\\A;B\\VARNOK\\...;E:\\", folder, kCp));
    // Its pieces apart, or only some of them, are not the folder.
    EXPECT_FALSE(TrustedPathsHold("C:\\A;E:\\;B\\VARNOK", folder, kCp));
    EXPECT_FALSE(TrustedPathsHold("B\\VARNOK", folder, kCp));
}

// A folder that ends in AutoCAD's "\..." marker is the folder without it, as
// an entry is.
TEST(FuzzFindings, FolderWithTheMarkerIsFoundAgain) {
    const std::string composed = ComposeTrustedPaths("E:\\B", "C:\\V\\...", kCp);
    EXPECT_EQ(composed, "E:\\B;C:\\V\\...");
    EXPECT_EQ(ComposeTrustedPaths(composed, "C:\\V\\...", kCp), composed);
    EXPECT_TRUE(TrustedPathsHold("C:\\V", "C:\\V\\...", kCp));
}

// The folder rules took a name with control characters, NUL among them,
// which Windows refuses, and a NUL ends the path for every function: a
// /LOADINF file's "Dir=C:\Windows<NUL>x" passed as a new folder below
// C:\Windows while the installation would have acted on C:\Windows itself.
// A NUL after a lead byte hid in its double-byte character.
TEST(FuzzFindings, FolderNamesWithControlCharactersAreInvalid) {
    for (const std::string& name : {std::string("Windows\0x", 9), std::string("a\001b"),
                                    std::string("a\tb"), std::string("\xC2\0x", 3)}) {
        EXPECT_FALSE(IsValidFolderName(kCp, name)) << name;
    }
}

struct Machine {
    memory::MemoryRegistry registry;
    memory::MemoryFileSystem files;
    memory::MemoryProcessList processes;
    memory::MemoryPrompts prompts;
    memory::Cp936CodePage codePage;
    memory::MemoryLog log;
    memory::MemoryRandom random;
    Services services{registry, files, processes, prompts, codePage, log, random};
};

// The /LOADINF reader yielded any Dir, which the run checked only later, as
// if /DIR had given it. It is checked as /DIR is, as the file is read.
TEST(FuzzFindings, ChoicesFileWithAFolderTheRulesRefuseIsNotUsed) {
    for (const std::string& dir :
         {std::string("C:\\Windows\0x", 12), std::string("Varnok"), std::string("C:\\a;b")}) {
        Machine machine;
        machine.files.AddFile("C:\\a.inf", "[Setup]\r\nDir=" + dir + "\r\nReleases=2018\r\n");
        SetupOptions options;
        options.loadInf = "C:\\a.inf";
        EXPECT_EQ(LoadChoices(machine.services, options), kExitCannotStart) << dir;
        EXPECT_FALSE(options.folder);
        EXPECT_FALSE(options.years);
    }
}

std::string WithCheck(const std::string& body) {
    return body + "\t#" + NumberHex(Crc32(body), 8);
}

// The reader took lines the writer never writes, which then wrote back as
// other bytes: a bare line break in a field, hexadecimal in capitals, a
// number with a leading zero. Each beside the line as it is written.
TEST(FuzzFindings, RecordLinesReadOnlyAsTheyAreWritten) {
    const struct {
        const char* written;
        const char* found;
    } cases[] = {
        {"folder\tC:\\\\Varnok\\r", "folder\tC:\\\\Varnok\r"},
        {"machinekey\tSOFTWARE\\\\X\t1\tName\t1\t6100aa00",
         "machinekey\tSOFTWARE\\\\X\t1\tName\t1\t6100AA00"},
        {"wrote\tC:\\\\Varnok\\\\a.dll\t8\t6d455f66ccb993ea",
         "wrote\tC:\\\\Varnok\\\\a.dll\t08\t6d455f66ccb993ea"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(DecodeRecordLine(kCp, WithCheck(c.written))) << c.written;
        EXPECT_FALSE(DecodeRecordLine(kCp, WithCheck(c.found))) << c.found;
    }
}

// A "wrote" line's hash was read as text and written as raw bytes.
TEST(FuzzFindings, WroteLineWritesBackItsHashAsRead) {
    const std::string line = WithCheck("wrote\tC:\\\\Varnok\\\\a.dll\t4\t\xE6\x89\xB9");
    const std::optional<RecordEntry> entry = DecodeRecordLine(kCp, line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(EncodeRecordLine(kCp, *entry), line + "\n");
}

// The scope check let through keys no installation writes: a NUL in a key
// (the registry functions would stop there), a Variables key that is no
// profile's, a user that is no SID.
TEST(FuzzFindings, TrustedPathsOnlyInProfilesOfUsers) {
    const std::string product = "C:\\Varnok\\Varnok";
    const std::string profile =
        "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\p\\Variables";
    const auto outside = [&](const std::string& user, const std::string& key) {
        const TrustedPathsWritten entry{user, key, product, false, std::nullopt, {}};
        return !PlaceOutsideInstallation(kCp, product, entry).empty();
    };
    EXPECT_FALSE(outside("", profile));
    EXPECT_FALSE(outside("S-1-5-21-1-2-3-1001", profile));
    const std::string withNul = "Software\\Autodesk\\AutoCAD\\" + std::string("R22\0.0", 6) +
                                "\\ACAD-1001:804\\Profiles\\p\\Variables";
    EXPECT_TRUE(outside("", withNul));
    EXPECT_TRUE(outside("", "Software\\Autodesk\\AutoCAD\\R22.0\\Variables"));
    EXPECT_TRUE(
        outside("", "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profilex\\p\\Variables"));
    EXPECT_TRUE(outside("S-1-5-21---0", profile));
    EXPECT_TRUE(outside("S-1-", profile));
}

}  // namespace
}  // namespace vk
