#include "e2e/driver/files.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/unique_handle.h"

namespace vk::e2e {
namespace {

bool isDots(const char* name) {
    return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0;
}

}  // namespace

bool pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> readFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string content;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        content.append(chunk, read);
    }
    return content;
}

void writeFile(const std::string& path, const std::string& content) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                   nullptr) ||
        written != content.size()) {
        throw DriverError(withLastError("could not write \"" + toUtf8(path) + "\""));
    }
}

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    UniqueFind find(FindFirstFileA(joinPath(folder, "*").c_str(), &entry));
    if (!find)
        return names;
    do {
        if (!isDots(entry.cFileName))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileA(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

void copyTree(const std::string& from, const std::string& to) {
    if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw DriverError(withLastError("could not create \"" + toUtf8(to) + "\""));
    }
    for (const std::string& name : listFolder(from)) {
        const std::string source = joinPath(from, name);
        const std::string target = joinPath(to, name);
        if (isFolder(source)) {
            copyTree(source, target);
        } else if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
            throw DriverError(withLastError("could not copy \"" + toUtf8(source) + "\" to \"" +
                                            toUtf8(target) + "\""));
        }
    }
}

bool removeTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return DeleteFileA(path.c_str()) != FALSE;
    // A link goes, never what it points to (under Wine it stays: see HostLink).
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return RemoveDirectoryA(path.c_str()) != FALSE;
    bool removed = true;
    for (const std::string& name : listFolder(path))
        removed &= removeTree(joinPath(path, name));
    return RemoveDirectoryA(path.c_str()) != FALSE && removed;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + "\\" + name;
}

std::string programFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw DriverError(withLastError("GetModuleFileNameA failed"));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/"));
}

std::string tempFolder() {
    const DWORD size = GetTempPathA(0, nullptr);
    std::string path(size, '\0');
    const DWORD length = GetTempPathA(size, path.data());
    if (length == 0 || length >= size)
        throw DriverError(withLastError("GetTempPathA failed"));
    path.resize(length);
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string windowsPathOfHost(const std::string& path) {
    if (path.empty() || path.front() != '/')
        return path;
    // Wine maps the host's root to drive Z: in every prefix it creates.
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

CreatedPathGuard::CreatedPathGuard(std::string path)
    : path_(std::move(path)), existedBefore_(pathExists(path_)) {}

CreatedPathGuard::~CreatedPathGuard() {
    if (!existedBefore_)
        removeTree(path_);
}

}  // namespace vk::e2e
