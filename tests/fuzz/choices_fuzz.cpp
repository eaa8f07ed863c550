// The choices file of /LOADINF, any bytes: read as the run reads it, it
// never yields an install folder that the folder rules refuse (written out
// again here, as Windows takes a path, and CheckInstallFolder itself); a file
// it refuses leaves the options as they were and says why; and what it
// yields is what /SAVEINF would write for it.
//
// Input: a byte of shape, then the file's bytes.
//   bit 0  the command line has its own /DIR
//   bit 1  the command line has its own /RELEASES
//   bit 2  the machine has a drive D:
//   bit 3  an unattended run (/VERYSILENT): nobody to ask about a folder
//   bit 4  C:\Linked is a junction, and C:\Shared a folder every user may change
#include <algorithm>
#include <string>
#include <vector>

#include "acad/release_table.h"
#include "app/choices_file.h"
#include "app/exit_codes.h"
#include "core/mbcs.h"
#include "engine/install_folder_check.h"
#include "engine/install_path_safety.h"
#include "engine/installation.h"
#include "fuzz_support.h"
#include "memory_machine.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace {

const vk::memory::Cp936CodePage kCp;
const std::string kFile = "C:\\dist\\Varnok.inf";
const vk::FolderSecurity kEveryoneMayChange{vk::FileOwner::Other, vk::kRightDelete};

using Machine = vk::fuzz::MemoryMachine;

// An install folder as Windows could take it: "X:" or "X:\" or a drive and
// names (one backslash may end it), no byte below 0x20 (a trail byte never
// is one; NUL would end the path), no ";" (it would split the trusted
// path), and the product folder within a path's 259 bytes. An ASCII name is
// not empty, does not begin or end with a blank or a dot, and holds none of
// " * / : < > ? \ |.
bool FolderRulesHold(std::string folder) {
    if (folder.size() >= 4 && folder.back() == '\\' && vk::EndsWithChar(kCp, folder, '\\'))
        folder.pop_back();
    if (folder.size() < 2 || (folder[0] | 0x20) < 'a' || (folder[0] | 0x20) > 'z' ||
        folder[1] != ':') {
        return false;
    }
    if (std::any_of(folder.begin(), folder.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == ';'; })) {
        return false;
    }
    if (folder.size() <= 3)
        return folder.size() == 2 || folder[2] == '\\';
    if (folder[2] != '\\' || vk::InstallDirOf(folder).size() > 259)
        return false;
    for (const std::string& name : vk::SplitText(kCp, folder.substr(3), '\\')) {
        if (name.empty())
            return false;
        if (std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; }))
            continue;  // double-byte characters blur the rest; the rules' own fuzz target has them
        const auto blankOrDot = [](char c) { return c == ' ' || c == '\t' || c == '.'; };
        if (blankOrDot(name.front()) || blankOrDot(name.back()) ||
            name.find_first_of("\"*/:<>?|") != std::string::npos) {
            return false;
        }
    }
    return true;
}

bool Mapped(const std::string& text) {
    const std::u16string wide = kCp.ToWide(text);
    return kCp.ToAnsi(wide) == text && std::all_of(wide.begin(), wide.end(), [](char16_t unit) {
               return kCp.Represents(unit);
           });
}

bool SameOptions(const vk::SetupOptions& a, const vk::SetupOptions& b) {
    return a.folder == b.folder && a.years == b.years && a.notes == b.notes &&
           a.loadInf == b.loadInf && a.mode == b.mode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::string content = input.Rest();

    vk::Choices parsed;
    std::string wrong;
    const bool ok = vk::ParseChoices(kCp, content, parsed, wrong);
    FUZZ_CHECK(ok || !wrong.empty());

    Machine machine;
    machine.files.SetModulePath("C:\\dist\\SetUp.exe");
    for (const char* name : {"SetUp.exe", "Data\\Varnok_EN.shx", "Data\\Varnok.Ini",
                             "Data\\VK_BatchPlot2018.ARX", "Data\\Varnok.prt5"}) {
        machine.files.AddFile(std::string("C:\\dist\\") + name, "content");
    }
    if ((shape & 4) != 0)
        machine.files.AddDrive('D');
    machine.files.AddFile(kFile, content);
    if ((shape & 16) != 0) {
        machine.files.AddFolder("C:\\Linked", vk::kAttrDirectory | vk::kAttrReparsePoint);
        machine.files.SetReparseTag("C:\\Linked", vk::kReparseTagMountPoint);
        machine.files.AddFolder("C:\\Shared");
        machine.files.SetFolderSecurity("C:\\Shared", kEveryoneMayChange);
    }

    vk::SetupOptions options;
    options.loadInf = kFile;
    if ((shape & 1) != 0)
        options.folder = "C:\\Tools";
    if ((shape & 2) != 0)
        options.years = std::vector<int>{2018};
    if ((shape & 8) != 0)
        options.mode = vk::RunMode::VerySilent;
    const vk::SetupOptions before = options;

    const int result = vk::LoadChoices(machine.services, options);
    if (result != vk::kExitFinished) {
        // Refused before anything changed: the options as they were, and why.
        FUZZ_CHECK(result == vk::kExitCannotStart);
        FUZZ_CHECK(SameOptions(options, before));
        FUZZ_CHECK(!machine.log.LinesWith("Stopped: ").empty());
        FUZZ_CHECK(machine.prompts.Records().size() == 1);
        return 0;
    }
    FUZZ_CHECK(ok);
    FUZZ_CHECK(options.folder == (before.folder ? before.folder : parsed.folder));
    FUZZ_CHECK(options.years == (before.years ? before.years : parsed.years));

    // No folder that the rules refuse: only one they let through, or one
    // that others could replace when there is someone to ask about it.
    if (parsed.folder && !before.folder) {
        FUZZ_CHECK(FolderRulesHold(*options.folder));
        const vk::FolderVerdict verdict =
            vk::CheckInstallFolder(machine.services, *options.folder).verdict;
        FUZZ_CHECK(verdict == vk::FolderVerdict::Ok ||
                   (verdict == vk::FolderVerdict::Replaceable && !options.Unattended()));
    }
    if (parsed.years) {
        FUZZ_CHECK(
            !parsed.years->empty() && std::is_sorted(parsed.years->begin(), parsed.years->end()) &&
            std::adjacent_find(parsed.years->begin(), parsed.years->end()) == parsed.years->end());
        FUZZ_CHECK(parsed.years->front() >= kFirstReleaseYear &&
                   parsed.years->back() <= kLastReleaseYear);
    }

    // What /SAVEINF writes for these choices reads back as them, for a folder
    // of characters the code page maps (the memory code page maps only some
    // of GBK's; the others stand for themselves outside it, as no file of
    // text brings them back; Windows maps them all).
    if (parsed.folder && parsed.years && Mapped(*parsed.folder)) {
        vk::Choices back;
        FUZZ_CHECK(vk::ParseChoices(kCp, vk::ChoicesText(kCp, *parsed.folder, *parsed.years), back,
                                    wrong));
        FUZZ_CHECK(back.folder == parsed.folder && back.years == parsed.years);
    }
    return 0;
}
