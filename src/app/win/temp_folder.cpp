#include "app/win/temp_folder.h"

#include <vector>

#include "platform/win32/gbk_text.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {

OsResult TempFolder(std::string& folder) {
    folder.clear();
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return static_cast<OsResult>(GetLastError());
        if (length < buffer.size()) {
            std::wstring wide(buffer.data(), length);
            if (!wide.empty() && wide.back() == L'\\')
                wide.pop_back();
            return ToGbk(wide, folder);
        }
        buffer.resize(length + 1);  // the size it needs, NUL included
    }
}

}  // namespace vk::win32
