#include "wine_machine.h"

#include <algorithm>
#include <vector>

namespace vk::systest {

namespace {

constexpr DWORD kRegeditTimeoutMs = 60'000;

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RegeditPath() {
    char windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return "regedit.exe";
    return std::string(windows) + "\\regedit.exe";
}

}  // namespace

std::string FixturePath(const std::string& relative) {
    std::string path = std::string(VARNOK_FIXTURES_DIR) + "\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool ImportRegFile(const std::string& path) {
    if (!FileExists(path)) return false;
    const std::string regedit = RegeditPath();
    std::string command = "\"" + regedit + "\" /S \"" + path + "\"";
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(regedit.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    DWORD exitCode = 1;
    const bool ended = WaitForSingleObject(process.hProcess, kRegeditTimeoutMs) == WAIT_OBJECT_0;
    if (ended) GetExitCodeProcess(process.hProcess, &exitCode);
    else TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return ended && exitCode == 0;
}

bool RegKeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool DeleteRegTree(HKEY root, const std::string& path) {
    RegDeleteTreeA(root, path.c_str());
    return !RegKeyExists(root, path);
}

std::optional<std::string> ReadRegString(HKEY root, const std::string& path,
                                         const std::string& name) {
    DWORD size = 0;
    if (RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string text(size, '\0');
    if (RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::size_t end = text.find('\0');  // the size counts the terminating zero
    if (end != std::string::npos) text.resize(end);
    return text;
}

bool ClearAutodeskKeys() {
    const bool machine = DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    const bool machine32 = DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk");
    const bool user = DeleteRegTree(HKEY_CURRENT_USER, "Software\\Autodesk");
    return machine && machine32 && user;
}

SampleMachine::SampleMachine(const std::string& regFixture) {
    imported_ = ClearAutodeskKeys() && ImportRegFile(FixturePath(regFixture));
}

SampleMachine::~SampleMachine() { ClearAutodeskKeys(); }

}  // namespace vk::systest
