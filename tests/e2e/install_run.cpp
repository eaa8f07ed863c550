#include "e2e/install_run.h"

#include <tlhelp32.h>

#include <algorithm>
#include <optional>

#include "e2e/driver/unique_handle.h"
#include "e2e/driver/window_text.h"
#include "wine_machine.h"

namespace vk::e2e::setup {
namespace {

// Data files that never reach the install folder (names compared without regard to case).
constexpr const char* kNotDeployed[] = {"SetUp.EXE", "Varnok_EN.shx", "Varnok_HZ.shx",
                                        "Varnok.prt5"};
constexpr const char* kSettingsFile = "Varnok.Ini";

struct Renamed {
    const char* found;
    const char* deployedAs;
};
constexpr Renamed kRenamed[] = {{"Varnok.prt7", "itextsharp.dll"},
                                {"Varnok.prt8", "PdfSharp.Charting.dll"},
                                {"Varnok.prt9", "PdfSharp.dll"}};

bool sameName(const std::string& a, const char* b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

std::string deployedName(const std::string& found) {
    for (const Renamed& file : kRenamed) {
        if (sameName(found, file.found))
            return file.deployedAs;
    }
    return found;
}

std::string namesInUtf8(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += text.empty() ? "" : ", ";
        text += toUtf8(name);
    }
    return text;
}

void expectSameFile(const std::string& source, const std::string& copy) {
    SCOPED_TRACE(toUtf8(copy));
    const std::optional<std::string> expected = readFile(source);
    const std::optional<std::string> actual = readFile(copy);
    ASSERT_TRUE(expected.has_value()) << "cannot read the source " << toUtf8(source);
    ASSERT_TRUE(actual.has_value()) << "missing";
    EXPECT_EQ(*actual, *expected);
}

// Copied by the deployment (the settings file too): no sub-folder, none of kNotDeployed.
bool isDeployed(const std::string& dataFolder, const std::string& name) {
    const bool skipped = std::any_of(std::begin(kNotDeployed), std::end(kNotDeployed),
                                     [&](const char* other) { return sameName(name, other); });
    return !skipped && !isFolder(joinPath(dataFolder, name));
}

}  // namespace

void InstallRun::seedMachine(const std::string& regFixture,
                             const std::vector<std::string>& acadFolders) {
    if (!systest::ClearAutodeskKeys())
        throw DriverError("the AutoCAD keys of an earlier run could not be removed");
    // A sample machine has no installation of the add-in, whatever an earlier run left (an
    // uninstall leaves the Active Setup component, as the removal for users out of reach).
    deleteRegistryTree(HKEY_LOCAL_MACHINE, kAppsFeaturesKey);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, kActiveSetupKey);
    importRegFile(systest::FixturePath(regFixture));
    for (const std::string& folder : acadFolders) {
        folders.make(joinPath(folder, "Fonts"));
        folders.make(joinPath(folder, "Drv"));
    }
}

std::vector<std::string> InstallRun::seedFoundMachine(const std::string& regFixture) {
    seedMachine(regFixture, {});
    std::vector<std::string> locations = acadLocations();
    for (const std::string& folder : locations) {
        folders.make(joinPath(folder, "Fonts"));
        folders.make(joinPath(folder, "Drv"));
    }
    return locations;
}

AppProcess InstallRun::start() const {
    return startWith({});
}

AppProcess InstallRun::startWith(const std::string& arguments) const {
    if (codePage != 0) {
        return AppProcess::startAtCodePage(codePage, distribution.programPath(),
                                           distribution.folder(), arguments);
    }
    return AppProcess::start(distribution.programPath(), distribution.folder(), arguments);
}

std::string InstallRun::dataFile(const std::string& name) const {
    return joinPath(distribution.dataFolder(), name);
}

Window goToPage3(const AppProcess& app) {
    const Window first = app.waitForWindow(page1());
    const Window second = clickFor(app, first.control(IDOK), page2());
    return clickFor(app, second.control(IDOK), page3());
}

Window clickFor(const AppProcess& app, const Control& button, const WindowQuery& next) {
    button.click();
    return app.waitForWindow(next);
}

WindowQuery picker() {
    return {"the folder picker", kPickerCaption, "#32770", {kPickerTree, kPickerEdit}, {}};
}

Window installFor4(const AppProcess& app, const Window& page3) {
    return clickFor(app, page3.control(IDOK), page4());
}

Window installForBox(const AppProcess& app, const Window& page3, const std::string& caption) {
    return clickFor(app, page3.control(IDOK), messageBoxQuery(caption));
}

std::string installFolderOf(std::string typed) {
    if (!typed.empty() && typed.back() == '\\')
        typed.pop_back();
    return typed + "\\" + kProductFolderName;
}

std::string loaderOf(const std::string& installFolder, int module) {
    return installFolder + "\\VK_BatchPlot" + std::to_string(module) + ".ARX";
}

size_t longestDeployedName(const std::string& dataFolder) {
    size_t longest = 0;
    for (const std::string& name : listFolder(dataFolder)) {
        if (isDeployed(dataFolder, name))
            longest = std::max(longest, deployedName(name).size());
    }
    return longest;
}

void expectProgramFiles(const std::string& installFolder, const std::string& dataFolder) {
    std::vector<std::string> expected;
    for (const std::string& name : listFolder(dataFolder)) {
        const std::string source = joinPath(dataFolder, name);
        if (!isDeployed(dataFolder, name))
            continue;
        // The settings file also stays in the install folder, for users who sign in later.
        if (sameName(name, kSettingsFile))
            expectSameFile(source, joinPath(settingsFolder(), name));
        expected.push_back(deployedName(name));
        expectSameFile(source, joinPath(installFolder, expected.back()));
    }
    expected.push_back(kUninstaller);
    expected.push_back(kLogonProgram);
    expected.push_back(kRecord);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesInUtf8(listFolder(installFolder)), namesInUtf8(expected));
}

void expectSupportFiles(const std::string& acadFolder, const std::string& dataFolder,
                        bool withDriver) {
    SCOPED_TRACE(toUtf8(acadFolder));
    const std::string fonts = joinPath(acadFolder, "Fonts");
    EXPECT_EQ(namesInUtf8(listFolder(fonts)), "Varnok_EN.shx, Varnok_HZ.shx");
    expectSameFile(joinPath(dataFolder, "Varnok_EN.shx"), joinPath(fonts, "Varnok_EN.shx"));
    expectSameFile(joinPath(dataFolder, "Varnok_HZ.shx"), joinPath(fonts, "Varnok_HZ.shx"));

    const std::string drivers = joinPath(acadFolder, "Drv");
    EXPECT_EQ(namesInUtf8(listFolder(drivers)), withDriver ? "pdfplot9.hdi" : "");
    if (withDriver)
        expectSameFile(joinPath(dataFolder, "Varnok.prt5"), joinPath(drivers, "pdfplot9.hdi"));
}

void expectDemandLoadKey(const std::string& productKey, int year, const std::string& loader) {
    const std::string key = productKey + "\\Applications\\VK_BatchPlot" + std::to_string(year);
    SCOPED_TRACE(toUtf8(key));
    EXPECT_EQ(registryValueNames(HKEY_LOCAL_MACHINE, key),
              (std::vector<std::string>{"LOADCTRLS", "LOADER"}));
    EXPECT_TRUE(registrySubkeys(HKEY_LOCAL_MACHINE, key).empty());
    EXPECT_EQ(readRegistryDword(HKEY_LOCAL_MACHINE, key, "LOADCTRLS"), 2u);

    const std::optional<RegistryValue> value = readRegistryValue(HKEY_LOCAL_MACHINE, key, "LOADER");
    ASSERT_TRUE(value.has_value()) << "no LOADER";
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    // Passed without its NUL; the registry may keep one all the same.
    std::string text = value->data;
    if (text.ends_with('\0'))
        text.pop_back();
    EXPECT_EQ(toUtf8(text), toUtf8(loader));
}

std::string trustedPathsOf(const std::string& variablesKey) {
    const std::optional<std::string> text =
        readRegistryString(HKEY_CURRENT_USER, variablesKey, "TRUSTEDPATHS");
    return text ? toUtf8(*text) : "(none)";
}

std::vector<std::string> registryValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return names;
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

constexpr const char* kAutodeskRoots[][2] = {{"HKLM", "SOFTWARE\\Autodesk"},
                                             {"HKLM", "SOFTWARE\\Wow6432Node\\Autodesk"},
                                             {"HKCU", "Software\\Autodesk"}};

HKEY rootOf(const char* name) {
    return std::string(name) == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void describeTree(const std::string& path, std::string& text) {
    if (!pathExists(path))
        return;
    if (isFile(path)) {
        // The record grows by a line with every run; what it leads to is compared instead.
        const bool record = path.ends_with(std::string("\\") + kRecord);
        text += toUtf8(path) + " = " +
                (record ? "(the installation record)"
                        : toUtf8(readFile(path).value_or("(unreadable)"))) +
                "\n";
        return;
    }
    text += toUtf8(path) + "\\\n";
    for (const std::string& name : listFolder(path))
        describeTree(joinPath(path, name), text);
}

}  // namespace

std::vector<std::string> acadLocations() {
    std::vector<std::string> locations;
    for (const char* root :
         {"SOFTWARE\\Autodesk\\AutoCAD", "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD"}) {
        const auto all = [](const std::string&) { return true; };
        std::vector<std::string> keys = findRegistryKeys(HKEY_LOCAL_MACHINE, root, all);
        for (const std::string& key : keys) {
            if (const std::optional<std::string> location =
                    readRegistryString(HKEY_LOCAL_MACHINE, key, "AcadLocation")) {
                std::string folder = *location;
                if (!folder.empty() && folder.back() == '\\')
                    folder.pop_back();
                if (std::find(locations.begin(), locations.end(), folder) == locations.end())
                    locations.push_back(folder);
            }
        }
    }
    return locations;
}

std::vector<RegistrySnapshot> autodeskKeys() {
    std::vector<RegistrySnapshot> keys;
    for (const auto& [root, path] : kAutodeskRoots)
        keys.push_back(RegistrySnapshot::capture(rootOf(root), path));
    return keys;
}

std::string describeInstallation(const std::vector<std::string>& acadFolders) {
    std::string text;
    for (const RegistrySnapshot& key : autodeskKeys())
        text += key.describe();
    describeTree(kDefaultInstallFolder, text);
    describeTree(settingsFolder(), text);
    for (const std::string& folder : acadFolders) {
        describeTree(joinPath(folder, "Fonts"), text);
        describeTree(joinPath(folder, "Drv"), text);
    }
    return text;
}

void undoInstallation(const std::vector<RegistrySnapshot>& registry,
                      const std::vector<std::string>& acadFolders) {
    for (const RegistrySnapshot& key : registry)
        key.restore();
    removeTree(kDefaultInstallFolder);
    removeTree(settingsFolder());
    for (const std::string& folder : acadFolders) {
        for (const char* sub : {"Fonts", "Drv"}) {
            const std::string supportFolder = joinPath(folder, sub);
            for (const std::string& name : listFolder(supportFolder))
                removeTree(joinPath(supportFolder, name));
        }
    }
}

std::vector<std::string> logLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = readFile(path).value_or("");
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;  // UTF-8's byte-order mark
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        // "YYYY-MM-DD hh:mm:ss.mmm  " before every line.
        const std::string line = text.substr(start, end - start);
        lines.push_back(line.size() > 25 ? line.substr(25) : line);
        start = end + 2;
    }
    return lines;
}

std::vector<std::wstring> folderNamesWide(const std::string& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(FindFirstFileW((wideOfGbk(folder) + L"\\*").c_str(), &entry));
    if (!find)
        return names;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.emplace_back(name);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

AppProcess startCommandLine(const std::string& commandLine, unsigned codePage) {
    if (commandLine.empty() || commandLine[0] != '"')
        throw DriverError("not a quoted program: " + toUtf8(commandLine));
    const std::size_t end = commandLine.find('"', 1);
    if (end == std::string::npos)
        throw DriverError("no closing quote: " + toUtf8(commandLine));
    std::string arguments = commandLine.substr(end + 1);
    while (!arguments.empty() && arguments.front() == ' ')
        arguments.erase(0, 1);
    if (codePage != 0)
        return AppProcess::startAtCodePage(codePage, commandLine.substr(1, end - 1), {}, arguments);
    return AppProcess::start(commandLine.substr(1, end - 1), {}, arguments);
}

namespace {

// The process id of a running copy of the uninstaller, or 0.
DWORD runningUninstallCopy() {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, "VarnokUninstall.exe") == 0)
            return entry.th32ProcessID;
    }
    return 0;
}

DWORD waitForCopy(bool running) {
    const ULONGLONG deadline = GetTickCount64() + kDefaultTimeoutMs;
    for (;;) {
        const DWORD copy = runningUninstallCopy();
        if ((copy != 0) == running)
            return copy;
        if (GetTickCount64() > deadline) {
            throw DriverError(running ? "no copy of the uninstaller started within "
                                      : "a copy of the uninstaller still runs after " +
                                            std::to_string(kDefaultTimeoutMs) + " ms");
        }
        Sleep(20);
    }
}

}  // namespace

void waitForUninstallCopies() {
    waitForCopy(false);
}

AppProcess uninstallCopy() {
    return AppProcess::attach(waitForCopy(true));
}

}  // namespace vk::e2e::setup
