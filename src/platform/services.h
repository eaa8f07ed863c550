#pragma once
// The OS services the portable core receives, bundled. The core holds
// references only; whoever builds the bundle owns the services.
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/log.h"
#include "platform/process_list.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/registry.h"

namespace vk {

struct Services {
    IRegistry& registry;
    IFileSystem& files;
    IProcessList& processes;
    IPrompts& prompts;
    ICodePage& codePage;
    Log& log;
    IRandom& random;
};

}  // namespace vk
