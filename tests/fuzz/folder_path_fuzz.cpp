// The folder picker's path rules over a memory file system: folder names of
// any bytes, and whole paths validated, created, and confirmed with a
// scripted person. Whatever the bytes, only the folders the path names are
// ever created.
#include <algorithm>
#include <functional>
#include <memory>

#include "core/folder_path_rules.h"
#include "core/mbcs.h"
#include "fuzz_support.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/fault_injector.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace {

const vk::memory::Cp936CodePage kCp;

struct Machine {
    vk::memory::FaultInjector faults;
    vk::memory::MemoryRegistry registry{&faults};
    vk::memory::MemoryFileSystem files{&faults};
    vk::memory::MemoryProcessList processes{&faults};
    vk::memory::MemoryPrompts prompts{&faults};
    vk::memory::Cp936CodePage codePage;
    vk::memory::MemoryLog log;
    vk::memory::MemoryRandom random;
    vk::Services services{registry, files, processes, prompts, codePage, log, random};
};

// Every folder on the machine's drives C: and D:, by full path.
std::vector<std::string> AllFolders(const vk::memory::MemoryFileSystem& files) {
    std::vector<std::string> folders;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
        for (const std::string& name : files.List(folder + "\\")) {
            const std::string path = folder + "\\" + name;
            if (files.IsFolder(path)) {
                folders.push_back(path);
                walk(path);
            }
        }
    };
    for (const char* drive : {"C:", "D:"})
        walk(drive);
    std::sort(folders.begin(), folders.end());
    return folders;
}

// True when `folder` is the path itself or one of the folders on its way:
// the path up to a backslash that is a character of its own (drive letters
// and names compared without regard to case, as the file system does).
bool IsOnTheWay(const std::string& folder, const std::string& path) {
    const std::size_t end = folder.size();
    if (end > path.size() || kCp.ToUpper(folder) != kCp.ToUpper(path.substr(0, end)))
        return false;
    const std::vector<std::size_t> starts = vk::CharacterStarts(kCp, path);
    return end == path.size() ||
           (path[end] == '\\' && std::binary_search(starts.begin(), starts.end(), end));
}

// The path's own rules, written out for ASCII names, to hold
// IsValidFolderName to where no double-byte character blurs them.
bool AsciiNameIsValid(const std::string& name) {
    if (name.empty())
        return false;
    const auto blankOrDot = [](char c) { return c == '\t' || c == ' ' || c == '.'; };
    if (blankOrDot(name.front()) || blankOrDot(name.back()))
        return false;
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
    return name.find_first_of("\"*/:<>?\\|") == std::string::npos &&
           std::none_of(name.begin(), name.end(), control);
}

void CheckName(const std::string& name) {
    const bool valid = IsValidFolderName(kCp, name);
    if (std::none_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; }))
        FUZZ_CHECK(valid == AsciiNameIsValid(name));
    // A valid name holds no separator of its own.
    if (valid)
        FUZZ_CHECK(vk::FindChar(kCp, name, '\\') == vk::kNoPos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::string seeded = input.ShortText();  // a folder or file already there
    const std::string path = input.Rest();

    CheckName(path);
    for (const std::string& name : vk::SplitText(kCp, path, '\\'))
        CheckName(name);

    Machine machine;
    if ((shape & 1) != 0)
        machine.files.AddDrive('D');
    const bool seeds = seeded.size() > 3 && (seeded[0] == 'C' || seeded[0] == 'D') &&
                       seeded[1] == ':' && seeded[2] == '\\';
    if (seeds && (shape & 2) != 0)
        machine.files.AddFile(seeded);
    else if (seeds)
        machine.files.AddFolder(seeded);
    const std::vector<std::string> before = AllFolders(machine.files);

    // Validation alone touches nothing, and depends on the text alone.
    const int validated = CreateFolderPath(machine.services, path, true);
    FUZZ_CHECK(validated == vk::kPathOk || validated == vk::kPathInvalid);
    FUZZ_CHECK(machine.faults.OperationCount() == 0);

    // With a failure injected (or none), creating adds only folders of the path.
    machine.faults.FailNth(shape >> 3);
    const bool asked = (shape & 4) != 0;
    int result = 0;
    if (asked) {
        machine.prompts.SetResponder([&](const vk::memory::PromptRecord&) {
            return (shape & 0x80) != 0 ? vk::kIdYes : vk::kIdNo;
        });
        result = MakeSurePathExists(machine.services, path, "caption");
        FUZZ_CHECK(result >= vk::kPathDeclined && result <= vk::kPathCannotCreate);
        // An invalid path is refused before anything is created.
        if (validated != vk::kPathOk)
            FUZZ_CHECK(result == vk::kPathInvalid);
    } else {
        result = CreateFolderPath(machine.services, path, false);
        FUZZ_CHECK(result >= vk::kPathOk && result <= vk::kPathCannotCreate);
        FUZZ_CHECK(result != vk::kPathOk || validated == vk::kPathOk);
    }
    const std::vector<std::string> after = AllFolders(machine.files);
    FUZZ_CHECK(std::includes(after.begin(), after.end(), before.begin(), before.end()));
    for (const std::string& folder : after) {
        if (std::binary_search(before.begin(), before.end(), folder))
            continue;
        FUZZ_CHECK(IsOnTheWay(folder, path));
        if (asked)
            FUZZ_CHECK(validated == vk::kPathOk && result != vk::kPathDeclined);
    }

    // Accepted means there: the path names a folder, or a file already in place.
    if (result == vk::kPathOk)
        FUZZ_CHECK(machine.files.AttributesOf(path).has_value());
    // On a drive that exists, with nothing in the way, no failure and a yes,
    // a valid path is made.
    const char drive = static_cast<char>(path.empty() ? 0 : path[0] & ~0x20);
    const bool driveExists = drive == 'C' || (drive == 'D' && (shape & 1) != 0);
    const bool plainBytes = std::none_of(
        path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    const bool saidYes = !asked || (shape & 0x80) != 0;
    if (validated == vk::kPathOk && driveExists && !seeds && plainBytes && saidYes &&
        machine.faults.FailuresInjected() == 0) {
        FUZZ_CHECK(result == vk::kPathOk);
        FUZZ_CHECK(machine.files.IsFolder(path));
    }
    return 0;
}
