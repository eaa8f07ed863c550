#include "e2e/created_folders.h"

#include <windows.h>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/files.h"

namespace vk::e2e {

CreatedFolders::~CreatedFolders() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        removeTree(*it);
}

void CreatedFolders::make(const std::string& folder) {
    if (isFolder(folder))
        return;
    const size_t separator = folder.find_last_of('\\');
    // "D:" of "D:\x" is a drive, never made here.
    if (separator != std::string::npos && separator > 2)
        make(folder.substr(0, separator));
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        throw DriverError(withLastError("could not create \"" + toUtf8(folder) + "\""));
    }
    created_.push_back(folder);
}

void CreatedFolders::watch(const std::string& path) {
    if (!pathExists(path))
        created_.push_back(path);
}

}  // namespace vk::e2e
