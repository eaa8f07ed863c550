// Start-up of SetUp.exe against an empty dialog program (and the same with the
// common controls loaded first, to tell that part apart), in turns: the time
// from CreateProcessA to a visible top-level window with the program's
// caption, and the program's peak working set while that window shows. The
// machine gets one AutoCAD 2018 product for the run, removed after.
// Usage: bench_startup.exe <distribution folder> <AutoCAD folder> <rounds>
//        [<file>|<caption>|<name> ...]   other programs of that folder, in turn
//        with the two, to find out what a difference is made of
#include <windows.h>

#include <psapi.h>  // needs <windows.h> first

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "common/bench_clock.h"
#include "common/bench_samples.h"
#include "platform/win32/system_services.h"
#include "registry/registry_seed.h"
#include "startup/empty_dialog_ids.h"

namespace {

struct Subject {
    std::string file;
    std::string caption;
    std::string name;  // in the metrics
};

const Subject kSubjects[] = {
    {"SetUp.exe", "Varnok批打印软件安装", "setup"},
    {"bench_empty_dialog.exe", EMPTY_DIALOG_CAPTION, "empty"},
    {"bench_empty_dialog_comctl.exe", EMPTY_DIALOG_CAPTION, "empty_comctl"},
};

constexpr double kWindowDeadlineMs = 60000;
constexpr DWORD kPollMs = 5;
constexpr DWORD kSettleMs = 500;  // lets the page paint before its peak is read
constexpr DWORD kExitWaitMs = 15000;

bool IsShownBy(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId && IsWindowVisible(window);
}

struct WindowQuery {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    char text[128] = {};
    if (IsShownBy(window, query->processId) && GetWindowTextA(window, text, sizeof text) > 0 &&
        lstrcmpA(text, query->caption) == 0) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// The program's visible top-level window with that caption. FindWindowA
// first: polling it costs the starting program least. All windows only when
// another program's window has the caption.
HWND VisibleWindowOf(DWORD processId, const std::string& caption) {
    const HWND window = FindWindowA(nullptr, caption.c_str());
    if (window == nullptr)
        return nullptr;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId)
        return IsWindowVisible(window) ? window : nullptr;
    WindowQuery query{processId, caption.c_str(), nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

struct Launch {
    double visibleMs = 0;
    double peakKb = 0;
};

// Starts one program, waits for its window, reads its peak and ends it.
bool Measure(const std::string& folder, const Subject& subject, Launch& launch) {
    const std::string path = folder + '\\' + subject.file;
    std::string commandLine = '"' + path + '"';
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = vk::bench::NowMs();
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "bench_startup: cannot start %s (%lu)\n", path.c_str(),
                     GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    HWND window = nullptr;
    bool ok = true;
    while ((window = VisibleWindowOf(process.dwProcessId, subject.caption)) == nullptr) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 ||
            vk::bench::NowMs() - start > kWindowDeadlineMs) {
            std::fprintf(stderr, "bench_startup: no window of %s\n", subject.file.c_str());
            ok = false;
            break;
        }
        Sleep(kPollMs);
    }
    launch.visibleMs = vk::bench::NowMs() - start;
    if (ok) {
        Sleep(kSettleMs);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        ok = GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters) != 0;
        launch.peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    }
    // Ended, not closed: nothing is measured any more, and a closing window
    // is hidden first, which Wine on a display without a window manager
    // follows with a two-second wait. Only the program started here.
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kExitWaitMs);
    CloseHandle(process.hProcess);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: bench_startup.exe <folder> <AutoCAD folder> <rounds> "
                     "[<file>|<caption>|<name> ...]\n");
        return 1;
    }
    std::vector<Subject> subjects(std::begin(kSubjects), std::end(kSubjects));
    for (int i = 4; i < argc; ++i) {
        const std::string spec = argv[i];
        const std::size_t first = spec.find('|');
        const std::size_t second = spec.find('|', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            return 1;
        subjects.push_back({spec.substr(0, first), spec.substr(first + 1, second - first - 1),
                            spec.substr(second + 1)});
    }
    const std::string folder = argv[1];
    const std::string acad = argv[2];
    const int rounds = std::atoi(argv[3]);
    const vk::Services& services = vk::win32::SystemServices();
    if (!vk::bench::RegistryIsClean(services.registry))
        return 2;
    vk::bench::SeedScope machine(services.registry, vk::RegRoot::LocalMachine);
    vk::bench::SeedProduct(services.registry,
                           {vk::bench::ReleaseKeyOfYear(2018), "ACAD-1001:804", 2018, acad});

    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t turn = 0; turn < subjects.size(); ++turn) {
            // Who goes first changes from round to round.
            const Subject& subject = subjects[(round + turn) % subjects.size()];
            Launch launch;
            if (!Measure(folder, subject, launch))
                return 1;
            const std::string& name = subject.name;
            vk::bench::PrintSample("startup." + name + ".ms", round, launch.visibleMs);
            vk::bench::PrintSample("peak_ws." + name + ".kb", round, launch.peakKb);
        }
    }
    return 0;
}
