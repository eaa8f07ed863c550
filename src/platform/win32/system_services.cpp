#include "platform/win32/system_services.h"

#include "platform/win32/file_log.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process_list.h"
#include "platform/win32/win32_prompts.h"
#include "platform/win32/win32_random.h"
#include "platform/win32/win32_registry.h"

namespace vk::win32 {

FileLog& SystemLog() {
    static FileLog log;
    return log;
}

const Services& SystemServices() {
    // The services keep no state beyond the log, so one set serves every caller.
    static Win32Registry registry;
    static Win32FileSystem files;
    static Win32ProcessList processes;
    static Win32Prompts prompts;
    static Win32CodePage codePage;
    static Win32Random random;
    static const Services services{registry, files,       processes, prompts,
                                   codePage, SystemLog(), random};
    return services;
}

}  // namespace vk::win32
