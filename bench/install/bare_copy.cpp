// The baseline of the installation: a bare copy of every file of a folder
// into an existing empty folder, one CopyFileA each, timed.
// Usage: bench_bare_copy.exe <source folder> <destination folder> <round>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/bench_clock.h"
#include "common/bench_samples.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_bare_copy.exe <source> <destination> <round>\n");
        return 1;
    }
    const std::string source = argv[1];
    const std::string destination = argv[2];
    const int round = std::atoi(argv[3]);

    const double start = vk::bench::NowMs();
    int failed = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((source + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "bench_bare_copy: cannot list %s\n", source.c_str());
        return 1;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        const std::string name = entry.cFileName;
        if (!CopyFileA((source + '\\' + name).c_str(), (destination + '\\' + name).c_str(), FALSE))
            ++failed;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    const double elapsed = vk::bench::NowMs() - start;

    if (failed != 0) {
        std::fprintf(stderr, "bench_bare_copy: %d copies failed\n", failed);
        return 1;
    }
    vk::bench::PrintSample("bare_copy.ms", round, elapsed);
    return 0;
}
