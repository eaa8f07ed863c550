#include "ui/test_catalog.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "acad/release_catalog.h"
#include "model/install_context.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace {

vk::memory::MemoryRegistry g_registry;
vk::memory::MemoryFileSystem g_files;
vk::memory::MemoryProcessList g_processes;
vk::memory::MemoryPrompts g_prompts;
vk::memory::Cp936CodePage g_codePage;
vk::memory::MemoryLog g_log;
vk::memory::MemoryRandom g_random;

}  // namespace

// The symbol the pages use, as SetUp.exe defines it, here on memory services.
CAcadReleaseCatalog theCatalog(vk::Services{g_registry, g_files, g_processes, g_prompts, g_codePage,
                                            g_log, g_random});

namespace vk::test {

void SetFoundReleases(std::initializer_list<int> years) {
    for (CStringList& locations : theCatalog.m_arrAcadLocations) {
        locations.clear();
    }
    for (int year : years) {
        theCatalog.m_arrAcadLocations[year - kFirstReleaseYear].push_back("D:\\AutoCAD " +
                                                                          std::to_string(year));
    }
}

namespace {

// The values a run of the program starts with, and nothing found.
void ResetContext() {
    g_strInstallFolder = "C:\\Varnok";
    g_nAgreeChoice = 1;
    std::fill(std::begin(g_bReleaseSelected), std::end(g_bReleaseSelected), 1);
    g_bWarnAcadRunning = true;
    SetFoundReleases({});
}

}  // namespace

ContextGuard::ContextGuard() {
    ResetContext();
}

ContextGuard::~ContextGuard() {
    ResetContext();
}

}  // namespace vk::test
