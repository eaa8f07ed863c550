#include "platform/win32/win32_process_list.h"

// <windows.h> before the headers that build on it.
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <cstring>
#include <type_traits>

#include "platform/win32/unique_handle.h"

namespace vk::win32 {

OsResult Win32ProcessList::ListProcesses(std::vector<RunningProcess>& processes) {
    processes.clear();
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return static_cast<OsResult>(GetLastError());
    }

    PROCESSENTRY32 entry{};
    static_assert(std::is_same_v<decltype(entry.szExeFile[0]), CHAR&>,
                  "the ANSI process entry, as the rest of the setup is ANSI");
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
        processes.push_back(
            {std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile)),
             static_cast<std::uint32_t>(entry.th32ProcessID)});
    }
    // Process32Next ends the walk with ERROR_NO_MORE_FILES; anything else is a failure.
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? kOk : static_cast<OsResult>(error);
}

}  // namespace vk::win32
