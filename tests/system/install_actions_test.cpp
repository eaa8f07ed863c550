// The installation actions on sample machines seeded into Wine's real
// registry and disk, through the Win32 services SetUp.exe uses. Every test
// removes what it created.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "engine/acad_running.h"
#include "engine/deploy.h"
#include "install_actions_support.h"
#include "platform/win32/system_services.h"
#include "wine_machine.h"

namespace vk::systest {
namespace {

const std::string kInstallDir = "C:\\Varnok\\Varnok批打印软件";
const std::string kUpperInstallDir = "C:\\VARNOK\\VARNOK批打印软件";
const std::string kAcad2008 = "C:\\Program Files (x86)\\AutoCAD 2008";
const std::string kAcad2014 = "D:\\Program Files\\Autodesk\\AutoCAD 2014";
const std::string kUserAutocad = "Software\\Autodesk\\AutoCAD\\";

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10'000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline)
            return false;
        Sleep(20);
    }
    return true;
}

class InstallActionsOnWine : public ::testing::Test {
protected:
    // Every selected year's flag set.
    static std::vector<int> Selected(std::initializer_list<int> years) {
        std::vector<int> flags(kReleaseSlots, 0);
        for (int year : years)
            flags[year - kFirstReleaseYear] = 1;
        return flags;
    }
    // The sample Data folder, laid out beside this test program as beside SetUp.exe.
    void LayOutData() {
        const std::string data = ProgramFolder() + "\\Data";
        RemoveTree(data);  // left over from a run that died
        ASSERT_TRUE(cleanup_.MakeFolders(data));
        const std::string samples = FixturePath("sample-data");
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((samples + "\\*").c_str(), &entry);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const std::string name = entry.cFileName;
            ASSERT_TRUE(
                CopyFileA((samples + "\\" + name).c_str(), (data + "\\" + name).c_str(), FALSE))
                << name;
            ++dataFiles_;
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    std::string DataFile(const std::string& name) const {
        return ReadFileText(ProgramFolder() + "\\Data\\" + name).value_or("<missing>");
    }

    AnsweringPrompts prompts_;
    Services services_ = SystemServicesWith(prompts_);
    Cleanup cleanup_;
    int dataFiles_ = 0;
};

// A demand-load key as AutoCAD of that view reads it.
void ExpectDemandLoadKey(REGSAM view, const std::string& productKey, int year,
                         const std::string& loader) {
    SCOPED_TRACE(productKey);
    const std::string path = productKey + "\\Applications\\VK_BatchPlot" + std::to_string(year);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key),
              ERROR_SUCCESS);
    DWORD type = 0, loadCtrls = 0, size = sizeof loadCtrls;
    EXPECT_EQ(RegQueryValueExA(key, "LOADCTRLS", nullptr, &type,
                               reinterpret_cast<BYTE*>(&loadCtrls), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(loadCtrls, 2u);

    std::vector<char> data(1024, 'x');
    size = static_cast<DWORD>(data.size());
    EXPECT_EQ(RegQueryValueExA(key, "LOADER", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                               &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // The length passed leaves the NUL out; the registry keeps the text and,
    // as Windows itself adds it after a C string, at most that one NUL.
    ASSERT_GE(size, loader.size());
    EXPECT_EQ(std::string(data.data(), loader.size()), loader);
    EXPECT_LE(size, loader.size() + 1);
    if (size == loader.size() + 1) {
        EXPECT_EQ(data[loader.size()], '\0');
    }
}

TEST_F(InstallActionsOnWine, DemandLoadKeysLandInEachProductsView) {
    SampleMachine machine("registry/m2-chs-2008x86-on-x64-plus-2014.reg");
    ASSERT_TRUE(machine.Imported());
    CAcadReleaseCatalog catalog(services_);
    catalog.DiscoverReleases();
    catalog.m_strInstallDir = kInstallDir;
    catalog.RegisterSelectedReleases(Selected({2008, 2014}).data());

    // The 32-bit 2008 reads the 32-bit view; its path named Wow6432Node explicitly.
    ExpectDemandLoadKey(KEY_WOW64_32KEY, "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804", 2008,
                        kInstallDir + "\\VK_BatchPlot2008.ARX");
    ExpectDemandLoadKey(KEY_WOW64_64KEY, "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804", 2014,
                        kInstallDir + "\\VK_BatchPlot2013.ARX");
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE,
                              "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Applications"));
    // Another add-in's registration stays.
    EXPECT_TRUE(ReadRegString(
        HKEY_LOCAL_MACHINE,
        "SOFTWARE\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Applications\\AddinManager", "LOADER"));
}

TEST_F(InstallActionsOnWine, TrustedPathsInEveryProfileIncludingOneWithoutVariables) {
    SampleMachine machine("registry/m2-chs-2008x86-on-x64-plus-2014.reg");
    ASSERT_TRUE(machine.Imported());
    const std::string profiles2014 = kUserAutocad + "R19.1\\ACAD-D001:804\\Profiles\\";
    const std::vector<std::string> listed = {
        kUserAutocad + "R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>",
        profiles2014 + "<<AutoCAD 2014 - 简体中文 (Simplified Chinese) 未命名配置>>",
        profiles2014 + "<<未命名配置>>",
        profiles2014 + "CodexApploadVerify_20260724",
    };
    std::vector<std::string> before;
    for (const std::string& profile : listed) {
        before.push_back(ReadRegString(HKEY_CURRENT_USER, profile + "\\Variables", "TRUSTEDPATHS")
                             .value_or("<absent>"));
    }
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (profiles2014 + "Bare").c_str(), &created),
              ERROR_SUCCESS);
    RegCloseKey(created);

    CAcadReleaseCatalog catalog(services_);  // nothing discovered: every profile all the same
    catalog.m_strInstallDir = kInstallDir;
    catalog.RegisterTrustedPaths();
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, profiles2014 + "Bare\\Variables", "TRUSTEDPATHS"),
              kInstallDir);
    catalog.RegisterTrustedPaths();  // a second installation adds nothing, only upper-cases

    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, listed[i] + "\\Variables", "TRUSTEDPATHS"),
                  before[i] + ";" + kUpperInstallDir)
            << listed[i];
    }
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, profiles2014 + "Bare\\Variables", "TRUSTEDPATHS"),
              kUpperInstallDir);
    EXPECT_EQ(
        ReadRegString(HKEY_CURRENT_USER, profiles2014 + "<<未命名配置>>\\Variables", "SECURELOAD"),
        "0");
}

TEST_F(InstallActionsOnWine, TrustedPathsEmptyAndTrailingSeparatorLists) {
    SampleMachine machine("registry/m4-enu-2020-2021-2022-plus-lt2022.reg");
    ASSERT_TRUE(machine.Imported());
    const std::string empty =
        kUserAutocad + "R24.0\\ACAD-4101:409\\Profiles\\<<Unnamed Profile>>\\Variables";
    const std::string trailing =
        kUserAutocad + "R24.1\\ACAD-5101:409\\Profiles\\<<Unnamed Profile>>\\Variables";
    const std::optional<std::string> old =
        ReadRegString(HKEY_CURRENT_USER, trailing, "TRUSTEDPATHS");
    ASSERT_TRUE(old && old->ends_with(";"));

    CAcadReleaseCatalog catalog(services_);
    catalog.m_strInstallDir = kInstallDir;
    catalog.RegisterTrustedPaths();
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, empty, "TRUSTEDPATHS"), kInstallDir);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, trailing, "TRUSTEDPATHS"),
              services_.codePage.ToUpper(*old) + ";" + kUpperInstallDir);
}

TEST_F(InstallActionsOnWine, FontsAndDriverReachRealAutocadFolders) {
    SampleMachine machine("registry/m2-chs-2008x86-on-x64-plus-2014.reg");
    ASSERT_TRUE(machine.Imported());
    ASSERT_NO_FATAL_FAILURE(LayOutData());
    for (const std::string& acad : {kAcad2008, kAcad2014}) {
        ASSERT_TRUE(cleanup_.MakeFolders(acad + "\\Fonts"));
        ASSERT_TRUE(cleanup_.MakeFolders(acad + "\\Drv"));
    }
    ASSERT_TRUE(
        WriteFileText(kAcad2014 + "\\Fonts\\Varnok_EN.shx", "old", FILE_ATTRIBUTE_READONLY));

    CAcadReleaseCatalog catalog(services_);
    catalog.DiscoverReleases();
    catalog.CopySelectedSupportFiles(Selected({2008, 2014}).data());

    for (const std::string& acad : {kAcad2008, kAcad2014}) {
        EXPECT_EQ(ReadFileText(acad + "\\Fonts\\Varnok_EN.shx"), DataFile("Varnok_EN.shx"));
        EXPECT_EQ(ReadFileText(acad + "\\Fonts\\Varnok_HZ.shx"), DataFile("Varnok_HZ.shx"));
    }
    EXPECT_EQ(ReadFileText(kAcad2008 + "\\Drv\\pdfplot9.hdi"), DataFile("Varnok.prt5"));
    EXPECT_EQ(GetFileAttributesA((kAcad2014 + "\\Drv\\pdfplot9.hdi").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((kAcad2014 + "\\Fonts\\Varnok_EN.shx").c_str()) &
                  FILE_ATTRIBUTE_READONLY,
              0u);
    EXPECT_TRUE(prompts_.texts.empty());
}

class CountingProgress : public IProgress {
public:
    void Step() override { ++steps; }
    int steps = 0;
};

// The deployment's target below C:\, and the settings file in the real APPDATA.
class DeployOnWine : public InstallActionsOnWine {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(LayOutData());
        parent_ = "C:\\vk-install-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(cleanup_.MakeFolders(parent_));
        target_ = parent_ + "\\Varnok批打印软件";
        settingsFolder_ = AppDataFolder() + "\\Varnok";
        ASSERT_FALSE(settingsFolder_.empty());
        if (IsFolder(settingsFolder_)) {
            cleanup_.Add(settingsFolder_ + "\\Varnok.Ini");
        } else {
            cleanup_.Add(settingsFolder_);
        }
    }
    bool Run() { return DeployProgramFiles(services_, DeployTarget{target_, &progress_}); }

    std::string parent_, target_, settingsFolder_;
    CountingProgress progress_;
};

TEST_F(DeployOnWine, ProgramFilesAndSettingsLandInRealFolders) {
    ASSERT_TRUE(Run());
    EXPECT_TRUE(prompts_.texts.empty());
    EXPECT_EQ(ReadFileText(target_ + "\\itextsharp.dll"), DataFile("Varnok.prt7"));
    EXPECT_EQ(ReadFileText(target_ + "\\PdfSharp.Charting.dll"), DataFile("Varnok.prt8"));
    EXPECT_EQ(ReadFileText(target_ + "\\PdfSharp.dll"), DataFile("Varnok.prt9"));
    EXPECT_EQ(ReadFileText(target_ + "\\VK_BatchPlot2021.ARX"), DataFile("VK_BatchPlot2021.ARX"));
    EXPECT_EQ(ReadFileText(target_ + "\\使用说明.txt"), DataFile("使用说明.txt"));
    for (const char* skipped :
         {"Varnok_EN.shx", "Varnok_HZ.shx", "Varnok.prt5", "Varnok.prt7", "Varnok.Ini"}) {
        EXPECT_EQ(GetFileAttributesA((target_ + "\\" + skipped).c_str()), INVALID_FILE_ATTRIBUTES)
            << skipped;
    }
    EXPECT_EQ(ReadFileText(settingsFolder_ + "\\Varnok.Ini"), DataFile("Varnok.Ini"));
    EXPECT_EQ(progress_.steps, dataFiles_ + 3);  // ".", "..", every file, the final pass
}

TEST_F(DeployOnWine, AFileHeldOpenRaisesTheCopyFailurePrompt) {
    ASSERT_TRUE(cleanup_.MakeFolders(target_));
    const std::string held = target_ + "\\ReadMe.txt";
    ASSERT_TRUE(WriteFileText(held, "old"));
    HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    prompts_.answer = kIdIgnore;
    const bool deployed = Run();
    CloseHandle(file);

    EXPECT_TRUE(deployed);
    ASSERT_EQ(prompts_.texts.size(), 1u);
    EXPECT_NE(prompts_.texts[0].find(held), std::string::npos) << prompts_.texts[0];
    EXPECT_EQ(ReadFileText(held), "old");
    EXPECT_EQ(ReadFileText(target_ + "\\PdfSharp.dll"), DataFile("Varnok.prt9"));
}

bool Listed(const std::string& name) {
    std::vector<std::string> names;
    win32::SystemServices().processes.ListExecutableNames(names);
    for (const std::string& running : names) {
        if (running == name)
            return true;
    }
    return false;
}

TEST_F(InstallActionsOnWine, AutocadIsRunningWhileAProgramOfItsNameRuns) {
    ASSERT_FALSE(IsAcadRunning(services_)) << "an AutoCAD stand-in from elsewhere is running";
    const std::string scratch = "C:\\vk-acad-" + std::to_string(GetCurrentProcessId());
    int index = 0;
    for (const char* name : {"acad.exe", "ACAD.EXE", "myacad.exe"}) {
        SCOPED_TRACE(name);
        const std::string folder = scratch + "\\" + std::to_string(index++);
        ASSERT_TRUE(cleanup_.MakeFolders(folder));
        {
            StandIn autocad(folder, name);
            ASSERT_TRUE(autocad.Running());
            EXPECT_TRUE(WaitUntil([&] { return IsAcadRunning(services_); }));
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsAcadRunning(services_); }));
    }

    const std::string folder = scratch + "\\lt";
    ASSERT_TRUE(cleanup_.MakeFolders(folder));
    StandIn lt(folder, "acadlt.exe");
    ASSERT_TRUE(lt.Running());
    ASSERT_TRUE(WaitUntil([] { return Listed("acadlt.exe"); }));
    EXPECT_FALSE(IsAcadRunning(services_));
}

}  // namespace
}  // namespace vk::systest
