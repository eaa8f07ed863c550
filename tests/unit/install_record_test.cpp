// The installation record: every kind of entry written and read back as it
// was, a record cut off in the middle of its last line read up to that line,
// and any other damage refused, never guessed at.
#include <gtest/gtest.h>

#include "engine/journal/record.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"

namespace vk {
namespace {

const std::string kProduct = "C:\\Varnok\\Varnok批打印软件";
const std::string kPath = kProduct + "\\" + kRecordFileName;
const std::string kId = "00112233445566778899aabbccddeeff";

const std::vector<RecordEntry> kEntries = {
    RunStarted{kProduct, "2023.5.26"},
    MachineKeyWritten{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnokBatchPlot",
                      true,
                      {{"DisplayName", 1, WideTextBytes(u"Varnok批打印软件")}}},
    FolderCreated{"C:\\Varnok"},
    FilePlaced{kProduct + "\\VK_BatchPlot2018.ARX", ""},
    FilePlaced{"C:\\Users\\me\\AppData\\Roaming\\Varnok\\Varnok.Ini",
               kProduct + "\\Uninstall.bak\\1"},
    FileWrote{kProduct + "\\VK_BatchPlot2018.ARX", 154, "878af8ae846aaa14"},
    SupportFilePlaced{"D:\\AutoCAD 2018\\Fonts\\Varnok_HZ.shx", true,
                      kProduct + "\\Uninstall.bak\\2"},
    DemandLoadWritten{"SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804",
                      "Applications\\VK_BatchPlot2018",
                      kProduct + "\\VK_BatchPlot2018.ARX",
                      true,
                      false,
                      {{"OLD", 1, std::string("a\tb\\c\nd\0", 9)},
                       {"LOADCTRLS", 4, std::string("\x02\0\0\0", 4)}}},
    TrustedPathsWritten{
        "",
        "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Profiles\\<<未命名配置>>\\Variables",
        kProduct,
        true,
        std::nullopt,
        {"TRUSTEDPATHS", 2, WideTextBytes(u"%USERPROFILE%;한국")}},
    RunFinished{},
    RunRolledBack{},
};

class Record : public ::testing::Test {
protected:
    RecordState Read(RecordContents& contents, std::string& problem) {
        return ReadRecord(files, codePage, kPath, contents, problem);
    }
    std::string Text() { return *files.ReadFile(kPath); }

    memory::MemoryFileSystem files;
    memory::Cp936CodePage codePage;
};

TEST_F(Record, EveryEntryComesBackAsItWasWritten) {
    files.AddFolder(kProduct);
    files.AddFile(kPath, "somebody else's");
    RecordWriter writer(files, codePage, kProduct, kId);
    ASSERT_EQ(writer.Begin(true), kOk);
    EXPECT_TRUE(writer.Created());
    // Staged, then on the disk together.
    for (const RecordEntry& entry : kEntries)
        writer.Stage(entry);
    ASSERT_EQ(writer.Flush(), kOk);
    EXPECT_EQ(writer.Added(), kEntries);

    RecordContents contents;
    std::string problem;
    ASSERT_EQ(Read(contents, problem), RecordState::Read) << problem;
    EXPECT_EQ(contents.id, kId);
    EXPECT_EQ(contents.entries, kEntries);
    EXPECT_FALSE(contents.lastLineCut);
    // UTF-8 on the disk, whatever the code page.
    EXPECT_NE(Text().find("Varnok\xE6\x89\xB9\xE6\x89\x93\xE5\x8D\xB0\xE8\xBD\xAF\xE4\xBB\xB6"),
              std::string::npos);
    // A second run appends to the installation's own record.
    RecordWriter again(files, codePage, kProduct, kId);
    ASSERT_EQ(again.Begin(false), kOk);
    EXPECT_FALSE(again.Created());
    ASSERT_EQ(again.Add(RunRolledBack{}), kOk);
    ASSERT_EQ(Read(contents, problem), RecordState::Read) << problem;
    EXPECT_EQ(contents.entries.size(), kEntries.size() + 1);
}

TEST_F(Record, ACutOffLastLineIsSetAsideAndAnyOtherDamageRefused) {
    files.AddFolder(kProduct);
    RecordWriter writer(files, codePage, kProduct, kId);
    ASSERT_EQ(writer.Begin(true), kOk);
    for (const RecordEntry& entry : kEntries)
        ASSERT_EQ(writer.Add(entry), kOk);
    const std::string whole = Text();
    const std::size_t lastLine = whole.rfind('\n', whole.size() - 2) + 1;
    const struct {
        const char* what;
        std::string text;
        RecordState state;
        std::size_t entries;
    } cases[] = {
        {"cut in its last line", whole.substr(0, lastLine + 5), RecordState::Read,
         kEntries.size() - 1},
        {"a byte changed", std::string(whole).replace(lastLine - 20, 1, "X"), RecordState::Damaged,
         0},
        {"a line left out",
         whole.substr(0, lastLine - 1).substr(0, whole.find('\n') + 1) +
             whole.substr(whole.find('\n', whole.find('\n') + 1) + 1),
         RecordState::Read, kEntries.size() - 1},
        {"an unknown kind", whole + "later\t#" + "00000000\n", RecordState::Damaged, 0},
        {"an earlier format",
         "Varnok setup record 2\t" + kId + "\n" + whole.substr(whole.find('\n') + 1),
         RecordState::Foreign, 0},
        {"no identifier", "Varnok setup record 3\t\n" + whole.substr(whole.find('\n') + 1),
         RecordState::Foreign, 0},
        {"empty", "", RecordState::Foreign, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        files.Remove(kPath);
        files.AddFile(kPath, c.text);
        RecordContents contents;
        std::string problem;
        EXPECT_EQ(Read(contents, problem), c.state);
        EXPECT_EQ(contents.entries.size(),
                  c.state == RecordState::Read ? c.entries : contents.entries.size());
        EXPECT_EQ(problem.empty(), c.state == RecordState::Read) << problem;
    }
    files.Remove(kPath);
    RecordContents contents;
    std::string problem;
    EXPECT_EQ(Read(contents, problem), RecordState::Missing);
}

TEST_F(Record, ARolledBackRunIsNoLongerInForce) {
    const std::vector<RecordEntry> entries = {
        RunStarted{kProduct, "1"}, FolderCreated{"C:\\Varnok"},
        RunStarted{kProduct, "2"}, FolderCreated{"C:\\Other"},
        RunRolledBack{},           RunStarted{kProduct, "3"},
        FolderCreated{"C:\\Third"}};
    EXPECT_EQ(EntriesInForce(entries),
              (std::vector<RecordEntry>{RunStarted{kProduct, "1"}, FolderCreated{"C:\\Varnok"},
                                        RunStarted{kProduct, "3"}, FolderCreated{"C:\\Third"}}));
}

}  // namespace
}  // namespace vk
