#include "app/win/uninstall_copy.h"

#include <charconv>

#include "app/exit_codes.h"
#include "app/uninstall_start.h"
#include "app/win/temp_folder.h"
#include "core/decimal.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

constexpr int kNoResult = 4;  // something could not be removed: the copy never said
constexpr DWORD kStarterEndMs = 60000;

std::string ModulePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length + 1 < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void DeleteLater(Log& log, const std::string& path) {
    if (!MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        log.Failed("have " + path + " deleted when Windows next starts",
                   static_cast<vk::OsResult>(GetLastError()));
    else
        log.Info(path + " is deleted when Windows next starts");
}

}  // namespace

int RunUninstallCopy(const Services& services, const std::string& arguments,
                     SingleSetupLock& lock) {
    Log& log = services.log;
    UninstallerCopy copy;
    if (CopyUninstaller(services, TempFolder(), copy) != kOk)
        return kExitCannotStart;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        log.Failed("make the uninstaller's result pipe", static_cast<vk::OsResult>(GetLastError()));
        RemoveUninstallerCopy(services, copy);
        return kExitCannotStart;
    }
    UniqueProcess reader(readEnd);
    UniqueProcess writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);  // the copy gets the write end only

    const std::string link = PaddedDecimal(GetCurrentProcessId()) + "," +
                             PaddedDecimal(reinterpret_cast<std::uintptr_t>(writer.Get()));
    std::string commandLine = "\"" + copy.program + "\" " + arguments + " /UNINSTALLCOPY=" + link;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    lock.Release();
    if (!CreateProcessA(copy.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, nullptr, &startup, &process)) {
        log.Failed("start the uninstaller's copy " + copy.program,
                   static_cast<vk::OsResult>(GetLastError()));
        RemoveUninstallerCopy(services, copy);
        return kExitCannotStart;
    }
    CloseHandle(process.hThread);
    UniqueProcess child(process.hProcess);
    writer.Reset();  // only the copy holds it now: its end ends the read below
    log.Info("The uninstall goes on in " + copy.program);

    int result = kNoResult;
    DWORD read = 0;
    if (!ReadFile(reader.Get(), &result, sizeof result, &read, nullptr) || read != sizeof result)
        result = kNoResult;
    return result;
}

bool StarterLink::Parse(const std::string& value) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos)
        return false;
    unsigned long long pipe = 0;
    const char* begin = value.data();
    const char* end = begin + value.size();
    const auto [idEnd, idError] = std::from_chars(begin, begin + comma, starterId_);
    const auto [pipeEnd, pipeError] = std::from_chars(begin + comma + 1, end, pipe);
    if (idError != std::errc() || pipeError != std::errc() || idEnd != begin + comma ||
        pipeEnd != end) {
        return false;
    }
    pipe_ = reinterpret_cast<void*>(static_cast<std::uintptr_t>(pipe));
    return true;
}

void StarterLink::Report(int exitCode) {
    if (pipe_ == nullptr)
        return;
    DWORD written = 0;
    WriteFile(static_cast<HANDLE>(pipe_), &exitCode, sizeof exitCode, &written, nullptr);
    CloseHandle(static_cast<HANDLE>(pipe_));
    pipe_ = nullptr;
}

bool StarterLink::WaitForStarterToEnd() {
    UniqueProcess starter(OpenProcess(SYNCHRONIZE, FALSE, starterId_));
    if (!starter)
        return true;  // gone already
    return WaitForSingleObject(starter.Get(), kStarterEndMs) == WAIT_OBJECT_0;
}

void DeleteOwnFileLater(Log& log) {
    const std::string self = ModulePath();
    DeleteLater(log, self);
    // Windows works through the list in order: the file is gone before its
    // folder, which goes only when it is the one the starter made for the copy.
    const std::size_t slash = self.find_last_of('\\');
    if (slash != std::string::npos &&
        self.compare(slash + 1, std::string::npos, kUninstallCopyFileName) == 0) {
        DeleteLater(log, self.substr(0, slash));
    }
}

}  // namespace vk::win32
