#include "app/win/temp_folder.h"

#include "platform/win32/windows_api.h"

namespace vk::win32 {

std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    std::string folder = length > 0 && length < sizeof buffer ? std::string(buffer, length) : "";
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

}  // namespace vk::win32
