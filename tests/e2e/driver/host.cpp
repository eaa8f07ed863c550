#include "e2e/driver/host.h"

#include <windows.h>

#include <atomic>

#include "e2e/driver/files.h"

namespace vk::e2e {
namespace {

// Wine's own export: the host path of a wide Windows path, allocated on the process heap.
using UnixFileName = char*(CDECL*)(const WCHAR*);

UnixFileName unixFileNameFunction() {
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    const FARPROC found =
        kernel32 != nullptr ? GetProcAddress(kernel32, "wine_get_unix_file_name") : nullptr;
    if (found == nullptr)
        throw DriverError("not running under Wine: no wine_get_unix_file_name");
    return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(found));
}

std::wstring wide(const std::string& ansi) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), length);
    return text;
}

}  // namespace

std::string hostPathOf(const std::string& windowsPath) {
    char* path = unixFileNameFunction()(wide(windowsPath).c_str());
    if (path == nullptr)
        throw DriverError("Wine has no host path for \"" + toUtf8(windowsPath) + "\"");
    std::string hostPath(path);
    HeapFree(GetProcessHeap(), 0, path);
    return hostPath;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void runOnHost(const std::string& command, TimeoutMs timeout) {
    static std::atomic<unsigned> runs{0};
    const std::string base =
        joinPath(tempFolder(),
                 "vk-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs));
    const std::string script = base + ".sh";
    const std::string status = base + ".status";
    const std::string hostStatus = hostPathOf(status);
    writeFile(script, command + "\necho $? > " + shellQuoted(hostStatus + ".part") + " && mv " +
                          shellQuoted(hostStatus + ".part") + " " + shellQuoted(hostStatus) + "\n");
    std::string commandLine = "Z:\\bin\\sh \"" + hostPathOf(script) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        DeleteFileA(script.c_str());
        throw DriverError(withLastError("could not start /bin/sh for: " + command));
    }
    // Handles of a host process, if Wine gives any, only need closing.
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);

    const ULONGLONG deadline = GetTickCount64() + timeout;
    std::optional<std::string> exitStatus;
    while (!(exitStatus = readFile(status)) && GetTickCount64() < deadline)
        Sleep(20);
    DeleteFileA(script.c_str());
    DeleteFileA(status.c_str());
    if (!exitStatus)
        throw DriverError("waited " + std::to_string(timeout) +
                          " ms for the host command to end: " + command);
    if (exitStatus->substr(0, exitStatus->find('\n')) != "0")
        throw DriverError("the host command failed with status " + *exitStatus + ": " + command);
}

HostLink::HostLink(const std::string& link, const std::string& target)
    : hostLink_(hostPathOf(link)) {
    runOnHost("ln -sfn " + shellQuoted(hostPathOf(target)) + " " + shellQuoted(hostLink_));
}

HostLink::~HostLink() {
    try {
        runOnHost("rm -f " + shellQuoted(hostLink_));
    } catch (const DriverError&) {
        // A link left behind: the next run's ln -sfn replaces it.
    }
}

}  // namespace vk::e2e
