// The installation record as an uninstall finds it, any bytes: the reader
// answers "damaged", "foreign" or "missing", or entries that encode back to
// the very bytes of their lines; and the installation's own record, read as
// sound, names only places an installation writes. Those places are written
// out again here, from the README, to hold the record's scope check to them.
//
// Input: a byte of shape, then the record's bytes.
//   bits 0-1  the product folder the record is read for
//   bit  2    give every line after the first its right check first, so that
//             changed fields reach the decoders and the scope check
//   bits 3-4  the Apps & Features entry: the record's own identifier without
//             a seal (0), with the seal of the record as it is (1) or of one
//             line less (2); or another identifier (3)
#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/digest.h"
#include "core/mbcs.h"
#include "engine/active_setup.h"
#include "engine/apps_features.h"
#include "engine/data_files.h"
#include "engine/journal/record.h"
#include "engine/journal/record_scope.h"
#include "engine/uninstall.h"
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

// "C:\Varnok\Varnok<product name in GBK>" and others like it.
const char* const kProductDirs[] = {
    "C:\\Varnok\\Varnok\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE",
    "D:\\CAD Tools\\Varnok\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE",
    "C:\\Varnok\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE",
    "c:\\varnok\\varnok\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE",
};
const std::string kOtherId = "0123456789abcdef0123456789abcdef";

bool Same(const std::string& a, const std::string& b) {
    return kCp.ToUpper(a) == kCp.ToUpper(b);
}

bool HasByteBelow0x20(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// The names of a path or key, split at backslashes that are characters of
// their own.
std::vector<std::string> Names(const std::string& text) {
    return vk::SplitText(kCp, text, '\\');
}

// A file or folder path the way Windows takes it whole: a drive, then names
// that are neither empty nor "." or "..", without a character Windows
// refuses in a name (none below 0x20, which a trail byte never is; NUL would
// end the path) or one that is a separator, stream or wildcard.
bool IsWholePath(const std::string& path) {
    if (path.size() < 4 || (path[0] | 0x20) < 'a' || (path[0] | 0x20) > 'z' || path[1] != ':' ||
        path[2] != '\\' || HasByteBelow0x20(path)) {
        return false;
    }
    for (const std::string& name : Names(path.substr(3))) {
        if (name.empty() || name == "." || name == "..")
            return false;
        for (const std::size_t at : vk::CharacterStarts(kCp, name)) {
            const bool single =
                at + 1 == name.size() || !kCp.IsLeadByte(static_cast<unsigned char>(name[at]));
            if (single && std::string_view("\"*/:<>?|").find(name[at]) != std::string::npos)
                return false;
        }
    }
    return true;
}

// `path` below `folder` (names compared without regard to case).
bool IsBelow(const std::string& path, const std::string& folder) {
    const std::vector<std::string> inner = Names(path);
    const std::vector<std::string> outer = Names(folder);
    return inner.size() > outer.size() &&
           std::equal(outer.begin(), outer.end(), inner.begin(), Same);
}

bool IsLastName(const std::string& path, const char* name) {
    return Same(Names(path).back(), name);
}

std::string Parent(const std::string& path) {
    const std::size_t slash = vk::FindLastChar(kCp, path, '\\');
    return slash == vk::kNoPos ? std::string() : path.substr(0, slash);
}

// A registry key below `prefix`, as the ANSI functions take it: no NUL (it
// would end the name) and no empty name but a last one (a trailing backslash).
bool IsKeyBelow(const std::string& key, const std::string& prefix, std::vector<std::string>& rest) {
    if (key.size() <= prefix.size() || !Same(key.substr(0, prefix.size()), prefix) ||
        key.find('\0') != std::string::npos) {
        return false;
    }
    rest = Names(key.substr(prefix.size()));
    if (rest.size() > 1 && rest.back().empty())
        rest.pop_back();
    return std::none_of(rest.begin(), rest.end(), [](const std::string& n) { return n.empty(); });
}

// The names after a path's drive ("C:\\").
std::size_t Depth(const std::string& path) {
    return Names(path.substr(3)).size();
}

struct Places {
    const std::string& productDir;

    // The product folder's files, and the settings file "Varnok\Varnok.Ini"
    // in some account's application-data folder.
    bool PlacedFile(const std::string& path) const {
        return IsWholePath(path) &&
               (IsBelow(path, productDir) ||
                (IsLastName(path, vk::kSettingsFile) && SettingsFolder(Parent(path))));
    }
    static bool SettingsFolder(const std::string& path) {
        return IsWholePath(path) && IsLastName(path, vk::kSettingsFolderName) && Depth(path) >= 2;
    }
    // None, or one in the product folder's backup folder.
    bool Backup(const std::string& path) const {
        return path.empty() ||
               (IsWholePath(path) && IsBelow(path, productDir + "\\" + vk::kBackupFolderName));
    }
    // A font or the plotter file in an AutoCAD folder's Fonts or Drv.
    static bool SupportFile(const std::string& path) {
        if (!IsWholePath(path) || Depth(path) < 2)
            return false;
        const std::string sub = Parent(path);
        const bool font = IsLastName(sub, vk::kAcadFontsFolder) &&
                          (IsLastName(path, vk::kFontEnFile) || IsLastName(path, vk::kFontHzFile));
        return font ||
               (IsLastName(sub, vk::kAcadDriverFolder) && IsLastName(path, vk::kPlotDriverFile));
    }

    bool operator()(const vk::RunStarted& e) const { return Same(e.installDir, productDir); }
    bool operator()(const vk::RunFinished&) const { return true; }
    bool operator()(const vk::RunRolledBack&) const { return true; }
    // The product folder, a folder above it, or a settings folder.
    bool operator()(const vk::FolderCreated& e) const {
        return (IsWholePath(e.path) && (Same(e.path, productDir) || IsBelow(productDir, e.path))) ||
               SettingsFolder(e.path);
    }
    bool operator()(const vk::FilePlaced& e) const {
        return PlacedFile(e.path) && Backup(e.backup);
    }
    bool operator()(const vk::FileWrote& e) const {
        return PlacedFile(e.path) || SupportFile(e.path);
    }
    bool operator()(const vk::SupportFilePlaced& e) const {
        return SupportFile(e.path) && Backup(e.backup);
    }
    // "Applications\VK_BatchPlot<year>" below a product key that discovery
    // finds at any depth below a release key.
    bool operator()(const vk::DemandLoadWritten& e) const {
        std::vector<std::string> below;
        const bool productKey =
            IsKeyBelow(e.productKey, "SOFTWARE\\Autodesk\\AutoCAD\\", below) ||
            IsKeyBelow(e.productKey, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\", below);
        const std::string app = "Applications\\VK_BatchPlot";
        return productKey && e.appKey.size() == app.size() + 4 && e.appKey.starts_with(app) &&
               std::all_of(e.appKey.begin() + app.size(), e.appKey.end(),
                           [](char c) { return c >= '0' && c <= '9'; });
    }
    // TRUSTEDPATHS of a profile, "<release>\<product>\Profiles\<profile>\Variables",
    // of the installing user or of a user below HKEY_USERS by SID.
    bool operator()(const vk::TrustedPathsWritten& e) const {
        std::vector<std::string> below;
        const bool profile = IsKeyBelow(e.variablesKey, "Software\\Autodesk\\AutoCAD\\", below) &&
                             below.size() == 5 && Same(below[2], "Profiles") &&
                             Same(below[4], "Variables") && !e.variablesKey.ends_with("\\");
        return IsSid(e.user) && profile && Same(e.folder, productDir);
    }
    bool operator()(const vk::MachineKeyWritten& e) const {
        return Same(e.key, vk::kAppsFeaturesKey) || Same(e.key, vk::kActiveSetupKey);
    }

    // Empty (the installing user), or "S-1-" and numbers separated by "-".
    static bool IsSid(const std::string& sid) {
        if (sid.empty())
            return true;
        if (!sid.starts_with("S-1-"))
            return false;
        std::size_t digits = 0;
        for (const char c : sid.substr(4)) {
            if (c == '-' && digits == 0)
                return false;
            digits = c == '-' ? 0 : digits + 1;
            if (c != '-' && (c < '0' || c > '9'))
                return false;
        }
        return digits > 0;
    }
};

// Each line after the first ends with its right check.
std::string WithRightChecks(const std::string& text) {
    std::string fixed;
    std::size_t start = 0;
    for (std::size_t number = 1; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (number > 1) {
            const std::size_t mark = line.rfind("\t#");
            if (mark != std::string::npos)
                line.resize(mark);
            line += "\t#" + vk::NumberHex(vk::Crc32(line), 8);
        }
        fixed += line + (end < text.size() ? "\n" : "");
        start = end + 1;
    }
    return fixed;
}

using Machine = vk::fuzz::MemoryMachine;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::string productDir = kProductDirs[shape & 3];
    std::string text = input.Rest();
    if ((shape & 4) != 0)
        text = WithRightChecks(text);

    // Line by line: what decodes encodes back to the same bytes, and names
    // a place the scope check lets through only when it is one.
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::optional<vk::RecordEntry> entry = vk::DecodeRecordLine(kCp, lines[i]);
        if (!entry)
            continue;
        FUZZ_CHECK(vk::EncodeRecordLine(kCp, *entry) == lines[i] + "\n");
        if (vk::PlaceOutsideInstallation(kCp, productDir, *entry).empty())
            FUZZ_CHECK(std::visit(Places{productDir}, *entry));
    }

    Machine machine;
    const std::string path = productDir + "\\" + vk::kRecordFileName;
    machine.files.AddDrive('D');
    machine.files.AddFolder(productDir);
    machine.files.AddFile(path, text);

    // The reader alone: entries only when every whole line after the first
    // is one, and then exactly the lines' bytes again.
    vk::RecordContents contents;
    std::string problem;
    const vk::RecordState state = vk::ReadRecord(machine.files, kCp, path, contents, problem);
    FUZZ_CHECK(state != vk::RecordState::Missing);
    FUZZ_CHECK((state == vk::RecordState::Read) == problem.empty());
    if (state != vk::RecordState::Foreign)
        FUZZ_CHECK(contents.lastLineCut == (text.back() != '\n'));
    if (state == vk::RecordState::Read) {
        FUZZ_CHECK(contents.entries.size() + 1 == lines.size());
        std::string written = lines[0] + "\n";
        for (const vk::RecordEntry& entry : contents.entries)
            written += vk::EncodeRecordLine(kCp, entry);
        FUZZ_CHECK(text.starts_with(written));
        FUZZ_CHECK(text.find('\n', written.size()) == std::string::npos);  // the rest: a line cut
    }

    // The Apps & Features entry that the uninstall trusts.
    const int anchor = (shape >> 3) & 3;
    const std::string id = anchor == 3 || contents.id.empty() ? kOtherId : contents.id;
    machine.registry.SetTextValue(vk::RegRoot::LocalMachine, vk::kAppsFeaturesKey, "RecordId",
                                  vk::kRegSz, kCp.ToWide(id));
    if (state != vk::RecordState::Foreign && (anchor == 1 || anchor == 2)) {
        const std::uint64_t lineCount = contents.seal.lines - (anchor == 2 ? 1 : 0);
        machine.registry.SetTextValue(
            vk::RegRoot::LocalMachine, vk::kAppsFeaturesKey, "RecordSeal", vk::kRegSz,
            kCp.ToWide(std::to_string(lineCount) + " " + contents.seal.hash));
    }

    const vk::RecordOfInstallation record =
        vk::ReadInstallationRecord(machine.services, productDir);
    FUZZ_CHECK(record.state != vk::RecordState::Missing);
    FUZZ_CHECK((record.state == vk::RecordState::Read) == record.problem.empty());
    if (record.state != vk::RecordState::Read)
        return 0;
    // Sound: the installation's own record, read whole, naming only its places.
    FUZZ_CHECK(state == vk::RecordState::Read && record.id == contents.id && contents.id == id);
    FUZZ_CHECK(record.entries == vk::EntriesInForce(contents.entries));
    for (const vk::RecordEntry& entry : contents.entries)
        FUZZ_CHECK(std::visit(Places{productDir}, entry));
    return 0;
}
