// The unattended installation as an administrator's tool runs it: SetUp.exe
// /VERYSILENT /SUPPRESSMSGBOXES as a whole process (start-up, discovery, the
// installation, exit), beside a process that only copies the same files
// (bench_bare_copy), in turns, each timed from its start to its end. The
// registry holds one AutoCAD 2018 while they run, removed after.
// Usage: bench_install_process.exe <dist folder> <install folder> <copy folder>
//        <AutoCAD folder> <bare copy program> <round>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/bench_clock.h"
#include "common/bench_samples.h"
#include "platform/win32/system_services.h"
#include "registry/registry_seed.h"

namespace {

constexpr int kYear = 2018;

int Fail(const std::string& why) {
    std::fprintf(stderr, "bench_install_process: %s\n", why.c_str());
    return 1;
}

// Runs a command line to its end with its output thrown away; the time in
// milliseconds, or a negative number when it did not end with exit code 0.
double TimeProcess(std::string commandLine, const std::string& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                             nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const double start = vk::bench::NowMs();
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, folder.c_str(), &startup, &process);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const double end = vk::bench::NowMs();
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0 ? end - start : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7)
        return Fail("usage: bench_install_process.exe <dist> <install folder> <copy folder> "
                    "<AutoCAD folder> <bare copy program> <round>");
    const std::string dist = argv[1];
    const std::string installFolder = argv[2];
    const std::string copyFolder = argv[3];
    const std::string acad = argv[4];
    const std::string bareCopy = argv[5];
    const int round = std::atoi(argv[6]);
    vk::IRegistry& registry = vk::win32::SystemServices().registry;
    if (!vk::bench::RegistryIsClean(registry))
        return 2;
    vk::bench::SeedScope machine(registry, vk::RegRoot::LocalMachine);
    vk::bench::SeedScope user(registry, vk::RegRoot::CurrentUser);
    vk::bench::SeedProduct(registry,
                           {vk::bench::ReleaseKeyOfYear(kYear), "ACAD-1001:804", kYear, acad});
    vk::bench::SeedProfiles(registry, 2, 10);

    const std::string setup = "\"" + dist + "\\SetUp.exe\" /VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" +
                              installFolder + "\"";
    const std::string copy = "\"" + bareCopy + "\" \"" + dist + "\\Data\" \"" + copyFolder +
                             "\" " + std::to_string(round);
    // Who goes first changes from round to round.
    for (int turn = 0; turn < 2; ++turn) {
        const bool installFirst = (round + turn) % 2 == 0;
        const double ms = TimeProcess(installFirst ? setup : copy, dist);
        if (ms < 0)
            return Fail((installFirst ? setup : copy) + " did not end with exit code 0");
        vk::bench::PrintSample(installFirst ? "install_process.ms" : "copy_process.ms", round, ms);
    }
    return 0;
}
