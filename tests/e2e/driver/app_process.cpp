#include "e2e/driver/app_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "e2e/driver/host.h"
#include "e2e/driver/window_dump.h"
#include "e2e/driver/window_text.h"

namespace vk::e2e {
namespace {

// How often a wait looks again; the wait also wakes at once when the process ends.
constexpr DWORD kPollMs = 10;
constexpr DWORD kKillWaitMs = 10000;
constexpr UINT kKilledExitCode = 0xDEAD;
constexpr int kStartAttempts = 3;

}  // namespace

AppProcess AppProcess::start(const std::string& program, const std::string& workingFolder,
                             std::string_view arguments) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += ' ';
        commandLine.append(arguments);
    }
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                           &info)) {
            UniqueHandle thread(info.hThread);
            return AppProcess(UniqueHandle(info.hProcess), info.dwProcessId);
        }
        // Wine on a busy machine now and then loses a new process before any of its code
        // runs, and reports ERROR_INTERNAL_ERROR; a start that really fails fails every time.
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kStartAttempts) {
            throw DriverError(withLastError("could not start \"" + toUtf8(program) +
                                                "\" in folder \"" + toUtf8(workingFolder) +
                                                "\" (attempt " + std::to_string(attempt) + ")",
                                            error));
        }
    }
}

namespace {

const char* localeOf(unsigned codePage) {
    switch (codePage) {
        case 936:
            return "zh_CN.UTF-8";
        case 950:
            return "zh_TW.UTF-8";
        case 1252:
            return "en_US.UTF-8";
        default:
            throw DriverError("no locale known for code page " + std::to_string(codePage));
    }
}

// The ids of the running processes named as `program`'s file.
std::set<DWORD> processesNamedAs(const std::string& program) {
    const std::string name = program.substr(program.find_last_of('\\') + 1);
    std::set<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, wideOfGbk(name).c_str()) == 0)
            ids.insert(entry.th32ProcessID);
    }
    return ids;
}

}  // namespace

AppProcess AppProcess::startAtCodePage(unsigned codePage, const std::string& program,
                                       const std::string& workingFolder,
                                       std::string_view arguments) {
    const std::string locale = localeOf(codePage);
    const std::set<DWORD> before = processesNamedAs(program);
    std::string words;
    for (std::size_t at = 0; at < arguments.size();) {
        const std::size_t end = std::min(arguments.find(' ', at), arguments.size());
        if (end > at)
            words += " " + shellQuoted(toUtf8(arguments.substr(at, end - at)));
        at = end + 1;
    }
    // In the background: the host command ends at once, the program runs on.
    // The host reads its command line as UTF-8; the program is reached through the same
    // wineserver, and the environment is this process's own but for the locale.
    runOnHost("cd " + shellQuoted(hostPathOf(workingFolder.empty() ? "C:\\" : workingFolder)) +
              " && LANG=" + locale + " LC_ALL=" + locale + " nohup wine " +
              shellQuoted(toUtf8(program)) + words + " >/dev/null 2>&1 &");
    const ULONGLONG deadline = GetTickCount64() + kDefaultTimeoutMs;
    for (;;) {
        for (const DWORD id : processesNamedAs(program)) {
            if (before.count(id) == 0)
                return attach(id);
        }
        if (GetTickCount64() > deadline)
            throw DriverError("\"" + toUtf8(program) + "\" did not start at code page " +
                              std::to_string(codePage));
        Sleep(kPollMs);
    }
}

AppProcess AppProcess::attach(DWORD processId) {
    UniqueHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId));
    if (!process)
        throw DriverError(withLastError("could not open process " + std::to_string(processId)));
    return AppProcess(std::move(process), processId);
}

AppProcess::~AppProcess() {
    if (process_)
        kill();
}

bool AppProcess::running() const {
    return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> AppProcess::exitCode() const {
    if (running())
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code))
        return std::nullopt;
    return code;
}

Window AppProcess::waitForWindow(const WindowQuery& query, TimeoutMs timeout) const {
    std::optional<Window> found;
    waitUntil([&] { return (found = findWindow(id_, query)).has_value(); }, describeQuery(query),
              timeout);
    return *found;
}

Window AppProcess::waitForMessageBox(const std::string& caption, TimeoutMs timeout) const {
    return waitForWindow(messageBoxQuery(caption), timeout);
}

void AppProcess::waitUntilClosed(const Window& window, TimeoutMs timeout) const {
    const std::string caption = tryWindowText(window.hwnd(), 1000).value_or("?");
    waitUntil([&] { return !window.exists() || !window.visible(); },
              "window \"" + toUtf8(caption) + "\" to close", timeout);
}

void AppProcess::waitUntil(const std::function<bool()>& condition, std::string_view what,
                           TimeoutMs timeout) const {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    std::string lastError;
    for (;;) {
        const bool ended = !running();
        try {
            if (condition())
                return;
        } catch (const DriverError& error) {
            lastError = error.what();
        }
        if (ended || GetTickCount64() >= deadline)
            break;
        WaitForSingleObject(process_.get(), kPollMs);
    }
    failWait(what, timeout, lastError);
}

DWORD AppProcess::waitForExit(TimeoutMs timeout) const {
    if (WaitForSingleObject(process_.get(), timeout) != WAIT_OBJECT_0) {
        failWait("the process to end", timeout, {});
    }
    return exitCode().value_or(STILL_ACTIVE);
}

std::string AppProcess::describeScreen() const {
    std::string state = "process " + std::to_string(id_);
    if (const std::optional<DWORD> code = exitCode()) {
        state += " has ended with exit code " + std::to_string(*code);
    } else {
        state += " is running";
    }
    return state + "\n" + describeProcessWindows(id_);
}

void AppProcess::kill() {
    if (running()) {
        TerminateProcess(process_.get(), kKilledExitCode);
        WaitForSingleObject(process_.get(), kKillWaitMs);
    }
}

void AppProcess::failWait(std::string_view what, TimeoutMs timeout,
                          const std::string& lastError) const {
    std::string message = "Waited in vain for " + std::string(what);
    if (running()) {
        message += " for " + std::to_string(timeout) + " ms";
    } else {
        message += ": the process ended first";
    }
    message += ".\n";
    if (!lastError.empty()) {
        // Its first line; the screen follows below anyway.
        message += "Last check failed with: " + lastError.substr(0, lastError.find('\n')) + "\n";
    }
    throw DriverError(message + describeScreen());
}

}  // namespace vk::e2e
