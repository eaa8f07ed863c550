// UserSetup.exe, the program Windows starts at each user's logon (Active
// Setup's StubPath, the user's Run entry): it runs the uninstaller beside it
// with /USERSETUP and answers with its exit code. It asks for no rights of
// its own (its manifest), and starts the uninstaller, which asks for
// administrator rights, with the user's rights as they are: Windows' own
// compatibility switch, RunAsInvoker, in the environment the uninstaller
// inherits. Neither has a console, so nothing shows at logon.
// Only kernel32, and nothing of the C++ library: it stays a few KiB.
#include <windows.h>

namespace {

constexpr wchar_t kUninstaller[] = L"Uninstall.exe";
constexpr wchar_t kSwitch[] = L" /USERSETUP";
// What ends this program when the uninstaller cannot be started (as Inno's
// "could not start").
constexpr UINT kExitNotStarted = 1;

// The process heap's memory for `count` wide characters, freed with the scope.
class WideBuffer {
public:
    explicit WideBuffer(SIZE_T count)
        : m_text(static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(wchar_t)))) {}
    ~WideBuffer() {
        if (m_text != nullptr)
            HeapFree(GetProcessHeap(), 0, m_text);
    }
    WideBuffer(const WideBuffer&) = delete;
    WideBuffer& operator=(const WideBuffer&) = delete;
    wchar_t* Get() const { return m_text; }

private:
    wchar_t* m_text;
};

class ProcessHandles {
public:
    PROCESS_INFORMATION info{};
    ~ProcessHandles() {
        if (info.hThread != nullptr)
            CloseHandle(info.hThread);
        if (info.hProcess != nullptr)
            CloseHandle(info.hProcess);
    }
};

UINT Run() {
    // This program's path, however long: the buffer grows until it holds it.
    DWORD capacity = MAX_PATH;
    for (;;) {
        const DWORD extra =
            sizeof kUninstaller / sizeof(wchar_t) + sizeof kSwitch / sizeof(wchar_t) + 2;
        WideBuffer command(capacity + extra);
        if (command.Get() == nullptr)
            return kExitNotStarted;
        wchar_t* const path = command.Get() + 1;  // after the opening quote
        const DWORD length = GetModuleFileNameW(nullptr, path, capacity);
        if (length == 0)
            return kExitNotStarted;
        if (length >= capacity) {
            if (capacity >= 32768)
                return kExitNotStarted;
            capacity *= 2;
            continue;
        }
        DWORD folderEnd = length;
        while (folderEnd > 0 && path[folderEnd - 1] != L'\\')
            --folderEnd;
        if (folderEnd == 0)
            return kExitNotStarted;
        // "<folder>\Uninstall.exe" /USERSETUP
        command.Get()[0] = L'"';
        lstrcpyW(path + folderEnd, kUninstaller);
        lstrcatW(path, L"\"");
        lstrcatW(path, kSwitch);

        if (!SetEnvironmentVariableW(L"__COMPAT_LAYER", L"RunAsInvoker"))
            return kExitNotStarted;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ProcessHandles process;
        if (!CreateProcessW(nullptr, command.Get(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process.info))
            return kExitNotStarted;
        DWORD exitCode = kExitNotStarted;
        if (WaitForSingleObject(process.info.hProcess, INFINITE) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.info.hProcess, &exitCode))
            return kExitNotStarted;
        return exitCode;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return static_cast<int>(Run());
}
