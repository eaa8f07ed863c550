// A record is acted on only when this installation wrote it: its identifier
// is the one in the machine's registry, and every line names a place an
// installation writes. A standard user who plants a record, however well
// formed, gets nothing undone, restored or appended on their behalf.
#include <gtest/gtest.h>

#include "engine/install_paths.h"
#include "engine/installation.h"
#include "engine/journal/anchor.h"
#include "engine/journal/record.h"
#include "engine/uninstall.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string kPlanted = "C:\\ProgramData\\Varnok批打印软件";
const std::string kTarget = "C:\\target.txt";
const std::string kUsersFile = "C:\\Users\\evil\\payload.txt";

class RecordTrust : public InstallFixture {
protected:
    RecordTrust() { Seed(*this); }
    static void Seed(InstallMachine& machine) {
        machine.AddDataFile("VK_BatchPlot2018.ARX");
        machine.files.AddFile(kTarget, "the machine's");
        machine.files.AddFile(kUsersFile, "the user's");
    }
    InstallOutcome Install(const std::string& folder) {
        InstallRequest request{folder};
        return RunInstallation(services, catalog, request);
    }
    RecordOfInstallation Record(const std::string& productDir) {
        return ReadInstallationRecord(services, productDir);
    }
};

TEST_F(RecordTrust, APlantedRecordIsNeitherUndoneNorAppendedTo) {
    const struct {
        const char* what;
        std::string firstLine;
        bool anchored;  // an installation's identifier is in the registry
    } cases[] = {
        {"an earlier format, without an identifier", "Varnok setup record 1", false},
        {"an identifier and no installation", "Varnok setup record 3\t" + std::string(32, 'a'),
         false},
        {"another identifier than the installation's",
         "Varnok setup record 3\t" + std::string(32, 'b'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallMachine machine;
        Seed(machine);
        if (c.anchored) {
            ASSERT_EQ(WriteRecordAnchor(machine.services, std::string(32, 'c'), kPlanted), kOk);
        }
        const std::string forged =
            EncodeRecordLine(machine.codePage, FilePlaced{kTarget, kUsersFile});
        machine.files.AddFile(JoinPath(kPlanted, kRecordFileName), c.firstLine + "\n" + forged);

        // The uninstall of what it names: refused, nothing undone.
        const RecordOfInstallation planted = ReadInstallationRecord(machine.services, kPlanted);
        EXPECT_EQ(planted.state, RecordState::Foreign);
        EXPECT_TRUE(planted.entries.empty());

        // An installation into that folder starts a record of its own.
        InstallRequest request{"C:\\ProgramData"};
        ASSERT_EQ(RunInstallation(machine.services, machine.catalog, request).result,
                  InstallResult::Completed);
        const RecordOfInstallation own = ReadInstallationRecord(machine.services, kPlanted);
        ASSERT_EQ(own.state, RecordState::Read) << own.problem;
        for (const RecordEntry& entry : own.entries) {
            const auto* file = std::get_if<FilePlaced>(&entry);
            EXPECT_TRUE(file == nullptr || file->path != kTarget);
        }
        UndoReport report;
        RemoveInstallation(machine.services, kPlanted, own.entries, true, report);
        EXPECT_EQ(machine.files.ReadFile(kTarget), "the machine's");
        EXPECT_EQ(machine.files.ReadFile(kUsersFile), "the user's");
    }
}

// Each line is what an installation could have written but for one field
// that names another place: the record is damaged, and an uninstall refuses it.
TEST_F(RecordTrust, ALineNamingAPlaceNoInstallationWritesMakesTheRecordDamaged) {
    ASSERT_EQ(Install("C:\\Varnok").result, InstallResult::Completed);
    const std::string productFile = kInstallDir + "\\VK_BatchPlot2018.ARX";
    const std::string backup = kInstallDir + "\\Uninstall.bak\\1";
    const std::string variables =
        "Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\p\\Variables";
    const RecordedValue written{"TRUSTEDPATHS", kRegSz, WideTextBytes(u"x")};
    const struct {
        const char* what;
        RecordEntry entry;
    } cases[] = {
        {"a file elsewhere", FilePlaced{kTarget, ""}},
        {"a file above the product folder", FilePlaced{kInstallDir + "\\..\\..\\x.dll", ""}},
        {"a stream of a file", FilePlaced{productFile + ":evil", ""}},
        {"a backup from elsewhere", FilePlaced{productFile, kUsersFile}},
        {"another account's file", FilePlaced{"C:\\Users\\x\\Varnok\\Other.dll", ""}},
        {"what a file elsewhere holds", FileWrote{kTarget, 1, "00"}},
        {"a folder elsewhere", FolderCreated{"C:\\Windows\\Tasks"}},
        {"a font of another name", SupportFilePlaced{"C:\\Windows\\Fonts\\x.dll", true, ""}},
        {"a font restored from elsewhere",
         SupportFilePlaced{"D:\\AutoCAD\\Fonts\\Varnok_EN.shx", true, kUsersFile}},
        {"a key of Windows' own",
         MachineKeyWritten{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false, {}}},
        {"a key outside AutoCAD's",
         DemandLoadWritten{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "Applications\\VK_BatchPlot2018",
                           productFile,
                           false,
                           false,
                           {}}},
        {"another application key",
         DemandLoadWritten{"SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804",
                           "Run",
                           productFile,
                           false,
                           false,
                           {}}},
        {"a user's key outside AutoCAD's",
         TrustedPathsWritten{"", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kInstallDir,
                             false, std::nullopt, written}},
        {"another trusted folder",
         TrustedPathsWritten{"", variables, "C:\\Users\\Public", false, std::nullopt, written}},
        {"a hive that is not a user's",
         TrustedPathsWritten{"..\\S-1-5-18", variables, kInstallDir, false, std::nullopt, written}},
        {"a run of another folder", RunStarted{"C:\\Other", "1"}},
    };
    const std::string path = JoinPath(kInstallDir, kRecordFileName);
    const std::string sound = *files.ReadFile(path);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        files.Remove(path);
        files.AddFile(path, sound);
        RecordWriter writer(files, codePage, kInstallDir, Record(kInstallDir).id);
        ASSERT_EQ(writer.Begin(false), kOk);
        ASSERT_EQ(writer.Add(c.entry), kOk);
        const RecordOfInstallation record = Record(kInstallDir);
        EXPECT_EQ(record.state, RecordState::Damaged);
        EXPECT_NE(record.problem.find("which no installation writes"), std::string::npos)
            << record.problem;
    }
    // The sound record, with a backup and a font of AutoCAD's, is read.
    files.Remove(path);
    files.AddFile(path, sound);
    RecordWriter writer(files, codePage, kInstallDir, Record(kInstallDir).id);
    ASSERT_EQ(writer.Add(FilePlaced{productFile, backup}), kOk);
    ASSERT_EQ(writer.Add(SupportFilePlaced{"D:\\AutoCAD\\Fonts\\Varnok_EN.shx", true, backup}),
              kOk);
    EXPECT_EQ(Record(kInstallDir).state, RecordState::Read) << Record(kInstallDir).problem;
}

}  // namespace
}  // namespace vk::test
