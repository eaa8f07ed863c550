#include "install_actions_support.h"

#include "platform/win32/system_services.h"

namespace vk::systest {

Services SystemServicesWith(IPrompts& prompts) {
    const Services& system = win32::SystemServices();
    return Services{system.registry, system.files, system.processes, prompts,
                    system.codePage, system.log,   system.random};
}

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string AppDataFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("APPDATA", path, MAX_PATH);
    return length < MAX_PATH ? std::string(path, length) : std::string();
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteFileText(const std::string& path, const std::string& content, DWORD attributes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size() && SetFileAttributesA(path.c_str(), attributes);
}

std::optional<std::string> ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    CloseHandle(file);
    return content;
}

void RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

Cleanup::~Cleanup() {
    for (auto it = paths_.rbegin(); it != paths_.rend(); ++it)
        RemoveTree(*it);
}

bool Cleanup::MakeFolders(const std::string& path) {
    if (IsFolder(path))
        return true;
    const std::size_t separator = path.find_last_of('\\');
    if (separator == std::string::npos || !MakeFolders(path.substr(0, separator)))
        return false;
    if (!CreateDirectoryA(path.c_str(), nullptr))
        return false;
    paths_.push_back(path);
    return true;
}

StandIn::StandIn(const std::string& folder, const std::string& fileName)
    : path_(folder + "\\" + fileName) {
    const std::string original = ProgramFolder() + "\\acad_stand_in.exe";
    if (!CopyFileA(original.c_str(), path_.c_str(), FALSE))
        return;
    std::string commandLine = "\"" + path_ + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
}

StandIn::~StandIn() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, 10'000);
        CloseHandle(process_);
    }
    DeleteFileA(path_.c_str());
}

}  // namespace vk::systest
