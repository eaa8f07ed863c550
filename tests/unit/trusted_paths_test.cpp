// Trusted-path registration in every AutoCAD profile of the current user.
#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string k2018 = "R22.0\\ACAD-1001:804";
const std::string k2014 = "R19.1\\ACAD-D001:804";
const std::string kUnnamed = "<<未命名配置>>";
const std::string kUpperInstallDir = "C:\\VARNOK\\VARNOK批打印软件";

class TrustedPaths : public InstallFixture {
protected:
    void Run() {
        catalog.RegisterTrustedPaths();
        ExpectNothingLeftOpen();
    }
    // A profile's list, which must be a REG_SZ.
    std::string Stored(const std::string& product, const std::string& profile) const {
        std::optional<memory::RegValue> value =
            registry.GetValue(kHkcu, VariablesKey(product, profile), "TRUSTEDPATHS");
        if (!value)
            return "<absent>";
        EXPECT_EQ(value->type, kRegSz);
        return *InstallMachine::TrustedPaths(product, profile);
    }
};

TEST_F(TrustedPaths, NoAutocadKeyWritesNothing) {
    registry.AddKey(kHkcu, "SOFTWARE\\Autodesk\\Other");
    Run();
    EXPECT_FALSE(registry.KeyExists(kHkcu, "SOFTWARE\\Autodesk\\AutoCAD"));
    EXPECT_EQ(Calls("RegSetValueEx"), 0u);
}

TEST_F(TrustedPaths, EveryProfileOfEveryProductIsUpdated) {
    // Not in the catalogue, not selected: updated all the same.
    SetTrustedPaths(k2018, kUnnamed, "d:\\tools;c:\\program files\\vendor");
    SetTrustedPaths(k2014, kUnnamed, "");
    registry.SetStringValue(kHkcu, VariablesKey(k2014, "Other"), "SECURELOAD", "0");
    registry.AddKey(kHkcu, kUserAutocad + k2014 + "\\Profiles\\NoVariables");
    registry.AddKey(kHkcu, kUserAutocad + "R24.0\\ACAD-4101:409\\NoProfilesHere");

    Run();
    EXPECT_EQ(Stored(k2018, kUnnamed), "D:\\TOOLS;C:\\PROGRAM FILES\\VENDOR;" + kUpperInstallDir);
    EXPECT_EQ(Stored(k2014, kUnnamed), kInstallDir);  // empty list: the folder as stored
    EXPECT_EQ(registry.textsWritten.front(), u"C:\\Varnok\\Varnok批打印软件");  // no NUL
    EXPECT_EQ(Stored(k2014, "Other"), kInstallDir);                             // no value yet
    EXPECT_EQ(registry.ValueNames(kHkcu, VariablesKey(k2014, "Other")),
              (std::vector<std::string>{"SECURELOAD", "TRUSTEDPATHS"}));
    // A profile without Variables gets the key, holding only the list.
    EXPECT_EQ(registry.ValueNames(kHkcu, VariablesKey(k2014, "NoVariables")),
              std::vector<std::string>{"TRUSTEDPATHS"});
    // A product without Profiles contributes nothing.
    EXPECT_EQ(registry.SubkeyNames(kHkcu, kUserAutocad + "R24.0\\ACAD-4101:409"),
              std::vector<std::string>{"NoProfilesHere"});
}

TEST_F(TrustedPaths, ASecondInstallationAddsNothing) {
    SetTrustedPaths(k2018, kUnnamed, "d:\\tools");
    Run();
    Run();
    EXPECT_EQ(Stored(k2018, kUnnamed), "D:\\TOOLS;" + kUpperInstallDir);
}

TEST_F(TrustedPaths, ALongListIsKeptWhole) {
    std::string list;
    while (list.size() < 20000)
        list += "D:\\SOME VENDOR\\TOOL" + std::to_string(list.size()) + ";";
    list += "E:\\LAST";
    SetTrustedPaths(k2018, kUnnamed, list);
    Run();
    EXPECT_TRUE(Stored(k2018, kUnnamed) == list + ";" + kUpperInstallDir);
}

TEST_F(TrustedPaths, RunsWhenNoReleaseIsSelected) {
    SetTrustedPaths(k2018, kUnnamed, "d:\\tools");
    const int none[kReleaseSlots] = {};
    catalog.RegisterSelectedReleases(none);
    EXPECT_EQ(Stored(k2018, kUnnamed), "D:\\TOOLS;" + kUpperInstallDir);
}

TEST_F(TrustedPaths, UnreadableListsAreLeftAsTheyAre) {
    SetTrustedPaths(k2018, kUnnamed, "d:\\keep me");
    SetTrustedPaths(k2018, "Second", "d:\\second");
    registry.SetRawValue(kHkcu, VariablesKey(k2018, "Third"), "TRUSTEDPATHS",
                         memory::RegValue{kRegDword, {1, 0, 0, 0}});
    registry.DenyAccess(kHkcu, VariablesKey(k2018, "Second"));
    faults.FailOperation("RegQueryValueEx", 1);  // the first profile's read fails

    Run();
    EXPECT_EQ(registry.GetString(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS"),
              std::string("d:\\keep me"));
    EXPECT_EQ(registry.GetString(kHkcu, VariablesKey(k2018, "Second"), "TRUSTEDPATHS"),
              std::string("d:\\second"));
    EXPECT_EQ(registry.GetValue(kHkcu, VariablesKey(k2018, "Third"), "TRUSTEDPATHS")->type,
              kRegDword);
}

TEST_F(TrustedPaths, UnreadableProfilesAndProductsAreSkipped) {
    SetTrustedPaths(k2018, kUnnamed, "d:\\a");
    SetTrustedPaths(k2018, "Locked", "d:\\b");
    SetTrustedPaths(k2014, kUnnamed, "d:\\c");
    registry.DenyAccess(kHkcu, kUserAutocad + k2018 + "\\Profiles\\Locked");
    registry.DenyAccess(kHkcu, kUserAutocad + k2014);
    Run();
    EXPECT_EQ(Stored(k2018, kUnnamed), "D:\\A;" + kUpperInstallDir);
    EXPECT_EQ(registry.GetString(kHkcu, VariablesKey(k2018, "Locked"), "TRUSTEDPATHS"),
              std::string("d:\\b"));
    EXPECT_EQ(registry.GetString(kHkcu, VariablesKey(k2014, kUnnamed), "TRUSTEDPATHS"),
              std::string("d:\\c"));
}

// Read and written wide: no character is lost, and the type stays.
TEST_F(TrustedPaths, ListsKeepEveryCharacterAndTheirType) {
    const std::u16string korean = u"C:\\한국어;D:\\CAFé";
    registry.SetTextValue(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS", kRegSz, korean);
    registry.SetTextValue(kHkcu, VariablesKey(k2018, "Expand"), "TRUSTEDPATHS", kRegExpandSz,
                          u"%AppData%\\Tools");
    const std::u16string folder = u";C:\\VARNOK\\VARNOK批打印软件";

    catalog.RegisterTrustedPaths();
    EXPECT_EQ(registry.GetText(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS"),
              korean + folder);
    EXPECT_EQ(registry.GetText(kHkcu, VariablesKey(k2018, "Expand"), "TRUSTEDPATHS"),
              u"%APPDATA%\\TOOLS" + folder);
    EXPECT_EQ(registry.GetValue(kHkcu, VariablesKey(k2018, "Expand"), "TRUSTEDPATHS")->type,
              kRegExpandSz);
    EXPECT_EQ(log.Failures(), 0u);
    ExpectNothingLeftOpen();
}

// A list of another type is left alone, and the log says so.
TEST_F(TrustedPaths, AListOfAnotherTypeIsLeftAloneAndLogged) {
    const memory::RegValue binary{3, {'d', 0, ':', 0}};  // REG_BINARY
    registry.SetRawValue(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS", binary);
    Run();
    EXPECT_EQ(registry.GetValue(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS")->data,
              binary.data);
    EXPECT_EQ(log.Failures(), 1u);
    EXPECT_EQ(log.LinesWith("is stored as type 3, not as text; left as it is").size(), 1u);
}

// A registry where the list grows between the size query and the read, as
// when AutoCAD saves its profile at that moment.
class GrowingRegistry : public memory::MemoryRegistry {
public:
    using MemoryRegistry::MemoryRegistry;
    OsResult QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                       std::u16string& text, std::uint32_t& type) override {
        if (growths > 0) {
            --growths;
            std::vector<std::uint8_t> bigger(bufferSize + 10, 'Z');
            bigger.back() = 0;
            SetRawValue(kHkcu, VariablesKey(k2018, kUnnamed), name, {kRegSz, bigger});
        }
        return MemoryRegistry::QueryText(key, name, bufferSize, text, type);
    }
    int growths = 0;
};

TEST(TrustedPathsGrowing, AListThatGrowsWhileReadIsReadAgain) {
    GrowingRegistry registry;
    memory::MemoryFileSystem files;
    memory::MemoryProcessList processes;
    memory::MemoryPrompts prompts;
    memory::Cp936CodePage codePage;
    memory::MemoryLog log;
    memory::MemoryRandom random;
    CAcadReleaseCatalog catalog(
        Services{registry, files, processes, prompts, codePage, log, random});
    catalog.m_strInstallDir = kInstallDir;
    registry.SetStringValue(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS", "d:\\a");

    registry.growths = 2;
    catalog.RegisterTrustedPaths();
    const std::string grown =
        *registry.GetString(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS");
    EXPECT_TRUE(grown.starts_with("ZZZZ")) << grown;
    EXPECT_TRUE(grown.ends_with(";" + kUpperInstallDir)) << grown;

    // One that never stops growing is left as the last growth made it, not overwritten.
    registry.growths = 1000;
    catalog.RegisterTrustedPaths();
    const std::string last =
        *registry.GetString(kHkcu, VariablesKey(k2018, kUnnamed), "TRUSTEDPATHS");
    EXPECT_EQ(last.find_first_not_of('Z'), std::string::npos);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace vk::test
