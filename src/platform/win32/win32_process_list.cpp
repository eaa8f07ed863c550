#include "platform/win32/win32_process_list.h"

// <windows.h> before the headers that build on it.
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <cwchar>

#include "platform/win32/gbk_text.h"
#include "platform/win32/unique_handle.h"

namespace vk::win32 {

OsResult Win32ProcessList::ListProcesses(std::vector<RunningProcess>& processes) {
    processes.clear();
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return static_cast<OsResult>(GetLastError());
    }

    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        // Names are only compared and shown: a character GBK lacks reads as '?'.
        const std::wstring_view name(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH));
        processes.push_back({Gbk(name), static_cast<std::uint32_t>(entry.th32ProcessID)});
    }
    // Process32Next ends the walk with ERROR_NO_MORE_FILES; anything else is a failure.
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? kOk : static_cast<OsResult>(error);
}

}  // namespace vk::win32
