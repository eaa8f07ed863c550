// The baseline of the installation: a bare copy of every file of a folder
// into an existing empty folder, one CopyFileA each, timed. Given a number of
// attribute reads, each copy also makes the installation's reads around it,
// to show what they cost: 3 clear the read-only attribute (source and
// destination before, destination after), a 4th is the copy's own check.
// Usage: bench_bare_copy.exe <source folder> <destination folder> <round> [0|3|4]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/bench_clock.h"
#include "common/bench_samples.h"

int main(int argc, char** argv) {
    const int reads = argc == 5 ? std::atoi(argv[4]) : 0;
    if ((argc != 4 && argc != 5) || (reads != 0 && reads != 3 && reads != 4)) {
        std::fprintf(stderr, "usage: bench_bare_copy.exe <source> <destination> <round> [0|3|4]\n");
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
        const std::string from = source + '\\' + entry.cFileName;
        const std::string to = destination + '\\' + entry.cFileName;
        if (reads >= 3) {
            GetFileAttributesA(from.c_str());
            GetFileAttributesA(to.c_str());
        }
        if (reads == 4)
            GetFileAttributesA(to.c_str());
        if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
            ++failed;
        if (reads >= 3)
            GetFileAttributesA(to.c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    const double elapsed = vk::bench::NowMs() - start;

    if (failed != 0) {
        std::fprintf(stderr, "bench_bare_copy: %d copies failed\n", failed);
        return 1;
    }
    vk::bench::PrintSample(
        reads == 0 ? "bare_copy.ms" : "bare_copy_reads" + std::to_string(reads) + ".ms", round,
        elapsed);
    return 0;
}
