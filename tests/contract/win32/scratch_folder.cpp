#include "contract/win32/scratch_folder.h"

#include <stdexcept>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace vk::contract {
namespace {

// Removes a folder with everything in it, read-only entries included.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    win32::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.Get(), &data)) {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            DeleteFileA(path.c_str());
        }
    }
    find.Reset();
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string UniqueName() {
    static unsigned serial = 0;
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
}

void FailWithLastError(const std::string& what) {
    throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) {
        FailWithLastError("GetTempPathA");
    }
    path_ = std::string(temp, length) + prefix + UniqueName();
    if (!CreateDirectoryA(path_.c_str(), nullptr)) {
        FailWithLastError("CreateDirectoryA " + path_);
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

}  // namespace vk::contract
