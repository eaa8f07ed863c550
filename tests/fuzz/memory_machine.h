#pragma once
// A machine of the memory services, for a fuzz target: every service, and a
// fault injector on the registry (which fails nothing until a target asks).
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/fault_injector.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"
#include "platform/services.h"

namespace vk::fuzz {

struct MemoryMachine {
    memory::FaultInjector faults;
    memory::MemoryRegistry registry{&faults};
    memory::MemoryFileSystem files;
    memory::MemoryProcessList processes;
    memory::MemoryPrompts prompts;
    memory::Cp936CodePage codePage;
    memory::MemoryLog log;
    memory::MemoryRandom random;
    Services services{registry, files, processes, prompts, codePage, log, random};
};

}  // namespace vk::fuzz
