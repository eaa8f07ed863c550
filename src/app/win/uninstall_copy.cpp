#include "app/win/uninstall_copy.h"

#include <charconv>

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

std::string TempCopyPath() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return {};
    return std::string(folder, length) + "VarnokUninstall-" + PaddedDecimal(GetCurrentProcessId()) +
           "-" + PaddedDecimal(GetTickCount64()) + ".exe";
}

}  // namespace

int RunUninstallCopy(const std::string& arguments, Log& log) {
    const std::string self = ModulePath();
    const std::string copy = TempCopyPath();
    if (self.empty() || copy.empty() || !CopyFileA(self.c_str(), copy.c_str(), FALSE)) {
        log.Failed("copy the uninstaller to the temporary folder",
                   static_cast<vk::OsResult>(GetLastError()));
        return kNoResult;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        log.Failed("make the uninstaller's result pipe", static_cast<vk::OsResult>(GetLastError()));
        return kNoResult;
    }
    UniqueProcess reader(readEnd);
    UniqueProcess writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);  // the copy gets the write end only

    const std::string link = PaddedDecimal(GetCurrentProcessId()) + "," +
                             PaddedDecimal(reinterpret_cast<std::uintptr_t>(writer.Get())) + ",";
    const std::size_t slash = self.find_last_of('\\');
    const std::string productDir = slash == std::string::npos ? self : self.substr(0, slash);
    std::string commandLine =
        "\"" + copy + "\" " + arguments + " \"/UNINSTALLCOPY=" + link + productDir + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
        log.Failed("start the uninstaller's copy " + copy,
                   static_cast<vk::OsResult>(GetLastError()));
        DeleteFileA(copy.c_str());
        return kNoResult;
    }
    CloseHandle(process.hThread);
    UniqueProcess child(process.hProcess);
    writer.Reset();  // only the copy holds it now: its end ends the read below
    log.Info("The uninstall goes on in " + copy);

    int result = kNoResult;
    DWORD read = 0;
    if (!ReadFile(reader.Get(), &result, sizeof result, &read, nullptr) || read != sizeof result)
        result = kNoResult;
    return result;
}

bool StarterLink::Parse(const std::string& value, std::string& productDir) {
    // The product folder comes last: it may hold commas itself.
    const std::size_t first = value.find(',');
    const std::size_t second = first == std::string::npos ? first : value.find(',', first + 1);
    if (second == std::string::npos || second + 1 == value.size())
        return false;
    unsigned long long pipe = 0;
    const char* begin = value.data();
    const auto [idEnd, idError] = std::from_chars(begin, begin + first, starterId_);
    const auto [pipeEnd, pipeError] = std::from_chars(begin + first + 1, begin + second, pipe);
    if (idError != std::errc() || pipeError != std::errc() || idEnd != begin + first ||
        pipeEnd != begin + second) {
        return false;
    }
    pipe_ = reinterpret_cast<void*>(static_cast<std::uintptr_t>(pipe));
    productDir = value.substr(second + 1);
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
    if (!MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        log.Failed("have " + self + " deleted when Windows next starts",
                   static_cast<vk::OsResult>(GetLastError()));
    else
        log.Info(self + " is deleted when Windows next starts");
}

}  // namespace vk::win32
