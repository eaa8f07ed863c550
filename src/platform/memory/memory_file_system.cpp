#include "platform/memory/memory_file_system.h"

#include "platform/memory/cp936_codepage.h"

namespace vk::memory {
namespace {

const Cp936CodePage kCodePage;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char UpperDrive(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The characters of `text`: one or two bytes each, a lead byte keeping its
// trail byte (which may be a backslash, a '|' or a letter) with it.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t length = 1;
        if (kCodePage.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            length = 2;
        }
        chars.push_back(text.substr(i, length));
        i += length - 1;
    }
    return chars;
}

bool IsWildcard(const std::string& ch) {
    return ch == "*" || ch == "?";
}

bool HasWildcard(const std::string& name) {
    for (const std::string& ch : Characters(name)) {
        if (IsWildcard(ch))
            return true;
    }
    return false;
}

// Characters no Windows file name may hold (wildcards are handled apart).
bool IsForbidden(const std::string& ch) {
    if (ch.size() != 1)
        return false;
    const auto byte = static_cast<unsigned char>(ch[0]);
    return byte < 0x20 || ch == "<" || ch == ">" || ch == ":" || ch == "\"" || ch == "|";
}

// Wildcard match of whole characters, without regard to case; "*.*" is "*",
// as on Windows.
bool Matches(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*")
        return true;
    const std::vector<std::string> p = Characters(kCodePage.ToUpper(pattern));
    const std::vector<std::string> n = Characters(kCodePage.ToUpper(name));
    std::size_t pi = 0, ni = 0, starP = std::string::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == "?" || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == "*") {
            starP = pi++;
            starN = ni;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "*")
        ++pi;
    return pi == p.size();
}

// Attributes as Windows keeps them: a folder keeps its folder bit, a file
// never has it, and FILE_ATTRIBUTE_NORMAL stands alone or not at all.
std::uint32_t Normalized(std::uint32_t attributes, bool folder) {
    if (folder)
        return (attributes & ~kAttrNormal) | kAttrDirectory;
    attributes &= ~kAttrDirectory;
    if (attributes & ~kAttrNormal)
        attributes &= ~kAttrNormal;
    return attributes == 0 ? kAttrNormal : attributes;
}

}  // namespace

FindEntry MemoryFileSystem::EntryOf(const std::string& name, const Entry& entry) {
    return FindEntry{name, entry.attributes, entry.reparseTag};
}

bool MemoryFileSystem::NameLess::operator()(const std::string& a, const std::string& b) const {
    return kCodePage.ToUpper(a) < kCodePage.ToUpper(b);
}

MemoryFileSystem::MemoryFileSystem(FaultInjector* faults) : faults_(faults) {
    AddDrive('C');
}

MemoryFileSystem::~MemoryFileSystem() = default;

bool MemoryFileSystem::Faulted(const char* operation) {
    return faults_ != nullptr && faults_->ShouldFail(operation);
}

// Takes apart an absolute, drive-relative ("C:x"), root-relative ("\x") or
// relative path the way Windows resolves it against the current folder.
// Separators may repeat; "." and ".." are resolved. `limitLength` is false
// only for the test's own seeding and inspection.
OsResult MemoryFileSystem::Parse(const std::string& path, bool limitLength, Parsed& parsed) const {
    parsed = Parsed{};
    if (limitLength && path.size() > kMaxPath - 1)
        return kErrFilenameTooLong;
    if (path.empty())
        return kErrPathNotFound;

    Parsed current;
    const bool currentUsable = currentFolder_.size() >= 3 && IsDriveLetter(currentFolder_[0]) &&
                               currentFolder_[1] == ':' && IsSeparator(currentFolder_[2]);
    if (currentUsable) {
        current.drive = UpperDrive(currentFolder_[0]);
        for (const std::string& ch : Characters(currentFolder_.substr(2))) {
            if (IsSeparator(ch[0]) && ch.size() == 1) {
                current.names.emplace_back();
            } else if (!current.names.empty()) {
                current.names.back() += ch;
            }
        }
        std::erase(current.names, std::string());
    } else {
        current.drive = 'C';
    }

    std::string rest;
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        parsed.drive = UpperDrive(path[0]);
        rest = path.substr(2);
        if ((rest.empty() || !IsSeparator(rest[0])) && current.drive == parsed.drive) {
            parsed.names = current.names;
        }
    } else if (IsSeparator(path[0])) {
        if (path.size() > 1 && IsSeparator(path[1]))
            return kErrPathNotFound;  // no network
        parsed.drive = current.drive;
        rest = path;
    } else {
        parsed = current;
        rest = path;
    }

    std::vector<std::string> pieces(1);
    for (const std::string& ch : Characters(rest)) {
        if (ch.size() == 1 && IsSeparator(ch[0])) {
            pieces.emplace_back();
        } else {
            pieces.back() += ch;
        }
    }
    std::erase(pieces, std::string());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        if (piece == ".")
            continue;
        if (piece == "..") {
            if (!parsed.names.empty())
                parsed.names.pop_back();
            continue;
        }
        for (const std::string& ch : Characters(piece)) {
            if (IsForbidden(ch))
                return kErrInvalidName;
        }
        parsed.names.push_back(piece);
    }
    return kOk;
}

MemoryFileSystem::Entry* MemoryFileSystem::Drive(char letter) const {
    auto it = drives_.find(UpperDrive(letter));
    return it == drives_.end() ? nullptr : it->second.get();
}

OsResult MemoryFileSystem::Lookup(const Parsed& parsed, Entry*& entry) const {
    entry = Drive(parsed.drive);
    if (entry == nullptr)
        return kErrPathNotFound;
    for (std::size_t i = 0; i < parsed.names.size(); ++i) {
        if (!entry->folder)
            return kErrPathNotFound;
        auto it = entry->children.find(parsed.names[i]);
        if (it == entry->children.end()) {
            entry = nullptr;
            return i + 1 == parsed.names.size() ? kErrFileNotFound : kErrPathNotFound;
        }
        entry = it->second.get();
    }
    return kOk;
}

OsResult MemoryFileSystem::LookupParent(const Parsed& parsed, Entry*& parent) const {
    Parsed above = parsed;
    if (!above.names.empty())
        above.names.pop_back();
    const OsResult result = Lookup(above, parent);
    if (result != kOk || !parent->folder) {
        parent = nullptr;
        return kErrPathNotFound;
    }
    return kOk;
}

// The three folders a test sets: an operation that can be failed, and an
// empty setting that the system does not know.
OsResult MemoryFileSystem::ReadSetting(const char* operation, const std::string& setting,
                                       std::string& path) {
    path.clear();
    if (Faulted(operation))
        return kErrInjected;
    if (setting.empty())
        return kErrFileNotFound;
    path = setting;
    return kOk;
}

OsResult MemoryFileSystem::GetModulePath(std::string& path) {
    return ReadSetting("GetModuleFileName", modulePath_, path);
}

OsResult MemoryFileSystem::FindFirst(const std::string& pattern, FindHandle& handle,
                                     FindEntry& entry) {
    handle = kNoFind;
    entry = FindEntry{};
    if (Faulted("FindFirstFile"))
        return kErrInjected;
    Parsed parsed;
    if (OsResult result = Parse(pattern, true, parsed); result != kOk)
        return result;
    // "folder\" names no entry; nor does a bare drive root.
    const std::vector<std::string> chars = Characters(pattern);
    if (parsed.names.empty() || (chars.back().size() == 1 && IsSeparator(chars.back()[0]))) {
        return kErrFileNotFound;
    }
    Entry* folder = nullptr;
    if (OsResult result = LookupParent(parsed, folder); result != kOk)
        return result;
    for (std::size_t i = 0; i + 1 < parsed.names.size(); ++i) {
        if (HasWildcard(parsed.names[i]))
            return kErrInvalidName;
    }

    const std::string& last = parsed.names.back();
    Find find;
    if (HasWildcard(last)) {
        if (parsed.names.size() > 1) {  // a drive root lists no "." and ".."
            for (const char* dots : {".", ".."}) {
                if (Matches(last, dots))
                    find.entries.push_back(EntryOf(dots, *folder));
            }
        }
        for (const auto& [name, child] : folder->children) {
            if (Matches(last, name))
                find.entries.push_back(EntryOf(name, *child));
        }
    } else if (auto it = folder->children.find(last); it != folder->children.end()) {
        find.entries.push_back(EntryOf(it->first, *it->second));
    }
    if (find.entries.empty())
        return kErrFileNotFound;

    entry = find.entries.front();
    find.next = 1;
    handle = nextFind_++;
    finds_.emplace(handle, std::move(find));
    return kOk;
}

OsResult MemoryFileSystem::FindNext(FindHandle handle, FindEntry& entry) {
    if (Faulted("FindNextFile"))
        return kErrInjected;
    auto it = finds_.find(handle);
    if (it == finds_.end())
        return kErrInvalidHandle;
    Find& find = it->second;
    if (find.next >= find.entries.size())
        return kErrNoMoreFiles;
    entry = find.entries[find.next++];
    return kOk;
}

OsResult MemoryFileSystem::FindClose(FindHandle handle) {
    // Closing is neither counted nor failed: a failed close would only hide a leak.
    return finds_.erase(handle) == 1 ? kOk : kErrInvalidHandle;
}

std::uint32_t MemoryFileSystem::GetAttributes(const std::string& path) {
    if (Faulted("GetFileAttributes"))
        return kInvalidAttributes;
    Parsed parsed;
    Entry* entry = nullptr;
    if (Parse(path, true, parsed) != kOk || HasWildcard(path) || Lookup(parsed, entry) != kOk) {
        return kInvalidAttributes;
    }
    return entry->attributes;
}

OsResult MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (Faulted("SetFileAttributes"))
        return kErrInjected;
    Parsed parsed;
    if (OsResult result = Parse(path, true, parsed); result != kOk)
        return result;
    if (HasWildcard(path))
        return kErrInvalidName;
    Entry* entry = nullptr;
    if (OsResult result = Lookup(parsed, entry); result != kOk)
        return result;
    if (!parsed.names.empty())
        entry->attributes = Normalized(attributes, entry->folder);
    return kOk;
}

OsResult MemoryFileSystem::CreateFolder(const std::string& path) {
    if (Faulted("CreateDirectory"))
        return kErrInjected;
    Parsed parsed;
    if (OsResult result = Parse(path, true, parsed); result != kOk)
        return result;
    if (HasWildcard(path))
        return kErrInvalidName;
    if (parsed.names.empty()) {
        return Drive(parsed.drive) != nullptr ? kErrAlreadyExists : kErrPathNotFound;
    }
    Entry* parent = nullptr;
    if (OsResult result = LookupParent(parsed, parent); result != kOk)
        return result;
    auto [it, created] = parent->children.try_emplace(parsed.names.back());
    if (!created)
        return kErrAlreadyExists;
    it->second = std::make_unique<Entry>();
    it->second->folder = true;
    it->second->attributes = kAttrDirectory;
    return kOk;
}

OsResult MemoryFileSystem::CopyFile(const std::string& source, const std::string& destination) {
    return Copy(source, destination, false);
}

OsResult MemoryFileSystem::CopyFileNew(const std::string& source, const std::string& destination) {
    return Copy(source, destination, true);
}

OsResult MemoryFileSystem::CopyToNewFile(const std::string& source, const std::string& destination,
                                         const std::function<void(std::string_view)>& seen) {
    if (const OsResult result = Copy(source, destination, true); result != kOk)
        return result;
    Entry* made = Inspect(destination);
    made->attributes = kAttrArchive;  // a new file, not a copy of the source's attributes
    const std::string& content = made->content;
    constexpr std::size_t kPiece = 1 << 16;
    for (std::size_t at = 0; at < content.size(); at += kPiece)
        seen(std::string_view(content).substr(at, kPiece));
    return kOk;
}

OsResult MemoryFileSystem::Copy(const std::string& source, const std::string& destination,
                                bool failIfExists) {
    if (Faulted("CopyFile"))
        return kErrInjected;
    Parsed from, to;
    if (OsResult result = Parse(source, true, from); result != kOk)
        return result;
    if (OsResult result = Parse(destination, true, to); result != kOk)
        return result;
    if (HasWildcard(source) || HasWildcard(destination))
        return kErrInvalidName;

    Entry* original = nullptr;
    if (OsResult result = Lookup(from, original); result != kOk)
        return result;
    if (original->folder)
        return kErrAccessDenied;
    if (original->locked)
        return kErrSharingViolation;

    if (to.names.empty())
        return kErrAccessDenied;  // a drive root
    Entry* parent = nullptr;
    if (OsResult result = LookupParent(to, parent); result != kOk)
        return result;
    std::unique_ptr<Entry>& target = parent->children[to.names.back()];
    if (target) {
        if (failIfExists)
            return kErrFileExists;
        if (target->folder || (target->attributes & kAttrReadOnly))
            return kErrAccessDenied;
        if (target->locked || target.get() == original)
            return kErrSharingViolation;
    } else {
        target = std::make_unique<Entry>();
    }
    // CopyFileA gives the copy the source's attributes, read-only included.
    target->content = original->content;
    target->attributes = Normalized(original->attributes | kAttrArchive, false);
    return kOk;
}

OsResult MemoryFileSystem::GetEnvironmentVariable(const std::string& name, std::string& value) {
    value.clear();
    if (Faulted("GetEnvironmentVariable"))
        return kErrInjected;
    auto it = environment_.find(name);
    if (it == environment_.end())
        return kErrFileNotFound;
    value = it->second;
    return kOk;
}

OsResult MemoryFileSystem::GetRoamingAppDataFolder(std::string& path) {
    return ReadSetting("SHGetFolderPath", roamingAppData_, path);
}

OsResult MemoryFileSystem::GetCurrentFolder(std::string& path) {
    return ReadSetting("GetCurrentDirectory", currentFolder_, path);
}

void MemoryFileSystem::AddDrive(char letter) {
    std::unique_ptr<Entry>& drive = drives_[UpperDrive(letter)];
    if (!drive) {
        drive = std::make_unique<Entry>();
        drive->folder = true;
        drive->attributes = kAttrDirectory;
    }
}

MemoryFileSystem::Entry* MemoryFileSystem::Seed(const std::string& path, bool folder) {
    Parsed parsed;
    if (Parse(path, false, parsed) != kOk)
        return nullptr;
    AddDrive(parsed.drive);
    Entry* entry = Drive(parsed.drive);
    for (std::size_t i = 0; i < parsed.names.size(); ++i) {
        const bool last = i + 1 == parsed.names.size();
        std::unique_ptr<Entry>& child = entry->children[parsed.names[i]];
        const bool wantFolder = !last || folder;
        if (!child || child->folder != wantFolder) {
            child = std::make_unique<Entry>();
            child->folder = wantFolder;
            child->attributes = Normalized(0, wantFolder);
        }
        entry = child.get();
    }
    return entry;
}

MemoryFileSystem::Entry* MemoryFileSystem::Inspect(const std::string& path) const {
    Parsed parsed;
    Entry* entry = nullptr;
    if (Parse(path, false, parsed) != kOk || Lookup(parsed, entry) != kOk)
        return nullptr;
    return entry;
}

void MemoryFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    if (Entry* entry = Seed(path, true))
        entry->attributes = Normalized(attributes, true);
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& content,
                               std::uint32_t attributes) {
    if (Entry* entry = Seed(path, false)) {
        entry->content = content;
        entry->attributes = Normalized(attributes, false);
    }
}

void MemoryFileSystem::Remove(const std::string& path) {
    Parsed parsed;
    Entry* parent = nullptr;
    if (Parse(path, false, parsed) != kOk || parsed.names.empty() ||
        LookupParent(parsed, parent) != kOk) {
        return;
    }
    parent->children.erase(parsed.names.back());
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) const {
    const Entry* entry = Inspect(path);
    if (entry == nullptr || entry->folder)
        return std::nullopt;
    return entry->content;
}

std::optional<std::uint32_t> MemoryFileSystem::AttributesOf(const std::string& path) const {
    const Entry* entry = Inspect(path);
    if (entry == nullptr)
        return std::nullopt;
    return entry->attributes;
}

bool MemoryFileSystem::IsFile(const std::string& path) const {
    const Entry* entry = Inspect(path);
    return entry != nullptr && !entry->folder;
}

bool MemoryFileSystem::IsFolder(const std::string& path) const {
    const Entry* entry = Inspect(path);
    return entry != nullptr && entry->folder;
}

std::vector<std::string> MemoryFileSystem::List(const std::string& folder) const {
    std::vector<std::string> names;
    if (const Entry* entry = Inspect(folder); entry != nullptr && entry->folder) {
        for (const auto& child : entry->children)
            names.push_back(child.first);
    }
    return names;
}

void MemoryFileSystem::SetReparseTag(const std::string& path, std::uint32_t tag) {
    if (Entry* entry = Inspect(path)) {
        entry->attributes |= kAttrReparsePoint;
        entry->reparseTag = tag;
    }
}

void MemoryFileSystem::SetFolderSecurity(const std::string& path, const FolderSecurity& security) {
    if (Entry* entry = Inspect(path))
        entry->security = security;
}

std::optional<std::string> MemoryFileSystem::AppliedSecurity(const std::string& path) const {
    const Entry* entry = Inspect(path);
    return entry == nullptr ? std::nullopt : entry->appliedSddl;
}

std::optional<std::string> MemoryFileSystem::CreatedWithSecurity(const std::string& path) const {
    const Entry* entry = Inspect(path);
    return entry == nullptr ? std::nullopt : entry->createdSddl;
}

void MemoryFileSystem::SetEnvironmentVariable(const std::string& name, std::string value) {
    environment_[name] = std::move(value);
}

void MemoryFileSystem::ClearEnvironmentVariable(const std::string& name) {
    environment_.erase(name);
}

void MemoryFileSystem::Lock(const std::string& path) {
    if (Entry* entry = Inspect(path))
        entry->locked = true;
}

void MemoryFileSystem::Unlock(const std::string& path) {
    if (Entry* entry = Inspect(path))
        entry->locked = false;
}

OsResult MemoryFileSystem::ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    if (Faulted("ReadFile"))
        return kErrInjected;
    Parsed parsed;
    Entry* entry = nullptr;
    if (OsResult result = ParseAndLookup(path, parsed, entry); result != kOk)
        return result;
    if (entry->folder)
        return kErrAccessDenied;
    if (entry->locked)
        return kErrSharingViolation;
    content = entry->content;
    return kOk;
}

OsResult MemoryFileSystem::ReadInPieces(const std::string& path,
                                        const std::function<void(std::string_view)>& take) {
    std::string content;
    if (const OsResult read = ReadWholeFile(path, content); read != kOk)
        return read;
    constexpr std::size_t kPiece = std::size_t{1} << 16;
    for (std::size_t at = 0; at < content.size(); at += kPiece)
        take(std::string_view(content).substr(at, kPiece));
    return kOk;
}

OsResult MemoryFileSystem::AppendToFile(const std::string& path, const std::string& bytes) {
    if (Faulted("WriteFile"))
        return kErrInjected;
    Parsed parsed;
    if (OsResult result = Parse(path, true, parsed); result != kOk)
        return result;
    if (parsed.names.empty())
        return kErrAccessDenied;
    Entry* parent = nullptr;
    if (OsResult result = LookupParent(parsed, parent); result != kOk)
        return result;
    std::unique_ptr<Entry>& file = parent->children[parsed.names.back()];
    if (!file) {
        file = std::make_unique<Entry>();
        file->attributes = Normalized(kAttrArchive, false);
    } else if (file->folder || (file->attributes & kAttrReadOnly)) {
        return kErrAccessDenied;
    } else if (file->locked) {
        return kErrSharingViolation;
    }
    file->content += bytes;
    return kOk;
}

OsResult MemoryFileSystem::RemoveFile(const std::string& path) {
    if (Faulted("DeleteFile"))
        return kErrInjected;
    Parsed parsed;
    Entry* entry = nullptr;
    if (OsResult result = ParseAndLookup(path, parsed, entry); result != kOk)
        return result;
    if (entry->folder || (entry->attributes & kAttrReadOnly))
        return kErrAccessDenied;
    if (entry->locked)
        return kErrSharingViolation;
    Entry* parent = nullptr;
    if (OsResult result = LookupParent(parsed, parent); result != kOk)
        return result;
    parent->children.erase(parsed.names.back());
    return kOk;
}

OsResult MemoryFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    if (Faulted("MoveFileEx"))
        return kErrInjected;
    Parsed source, target;
    Entry* moved = nullptr;
    if (OsResult result = ParseAndLookup(from, source, moved); result != kOk)
        return result;
    if (OsResult result = Parse(to, true, target); result != kOk)
        return result;
    if (HasWildcard(to))
        return kErrInvalidName;
    if (moved->folder || source.names.empty() || target.names.empty())
        return kErrAccessDenied;
    if (moved->locked)
        return kErrSharingViolation;
    Entry* fromParent = nullptr;
    Entry* toParent = nullptr;
    if (OsResult result = LookupParent(source, fromParent); result != kOk)
        return result;
    if (OsResult result = LookupParent(target, toParent); result != kOk)
        return result;
    const auto existing = toParent->children.find(target.names.back());
    if (existing != toParent->children.end()) {
        if (existing->second.get() == moved)
            return kOk;
        if (existing->second->folder || (existing->second->attributes & kAttrReadOnly))
            return kErrAccessDenied;
        if (existing->second->locked)
            return kErrSharingViolation;
    }
    std::unique_ptr<Entry> entry =
        std::move(fromParent->children.find(source.names.back())->second);
    fromParent->children.erase(source.names.back());
    toParent->children.erase(target.names.back());
    toParent->children.emplace(target.names.back(), std::move(entry));
    return kOk;
}

OsResult MemoryFileSystem::RemoveEmptyFolder(const std::string& path) {
    if (Faulted("RemoveDirectory"))
        return kErrInjected;
    Parsed parsed;
    Entry* entry = nullptr;
    if (OsResult result = ParseAndLookup(path, parsed, entry); result != kOk)
        return result;
    if (!entry->folder)
        return kErrDirectory;
    if (parsed.names.empty())
        return kErrAccessDenied;  // a drive root
    if (!entry->children.empty())
        return kErrDirNotEmpty;
    Entry* parent = nullptr;
    if (OsResult result = LookupParent(parsed, parent); result != kOk)
        return result;
    parent->children.erase(parsed.names.back());
    return kOk;
}

// A path the program passes (limited, no wildcards) to the entry it names.
OsResult MemoryFileSystem::ParseAndLookup(const std::string& path, Parsed& parsed,
                                          Entry*& entry) const {
    entry = nullptr;
    if (OsResult result = Parse(path, true, parsed); result != kOk)
        return result;
    return Lookup(parsed, entry);
}

OsResult MemoryFileSystem::LookupPath(const std::string& path, Entry*& entry) const {
    entry = nullptr;
    Parsed parsed;
    if (OsResult result = Parse(path, true, parsed); result != kOk)
        return result;
    if (HasWildcard(path))
        return kErrInvalidName;
    return Lookup(parsed, entry);
}

// The drive roots answer too, as Windows' do.
OsResult MemoryFileSystem::ApplySecurity(const std::string& path, const std::string& sddl) {
    if (Faulted("SetNamedSecurityInfo"))
        return kErrInjected;
    if (sddl.empty())
        return kErrInvalidParameter;
    Entry* entry = nullptr;
    if (OsResult result = LookupPath(path, entry); result != kOk)
        return result;
    entry->appliedSddl = sddl;
    return kOk;
}

OsResult MemoryFileSystem::CreateFolderWithSecurity(const std::string& path,
                                                    const std::string& sddl) {
    if (sddl.empty())
        return kErrInvalidParameter;
    if (const OsResult result = CreateFolder(path); result != kOk)
        return result;
    Entry* entry = nullptr;
    if (const OsResult found = LookupPath(path, entry); found != kOk || entry == nullptr)
        return found != kOk ? found : kErrPathNotFound;  // made a moment ago: never so
    entry->appliedSddl = sddl;
    entry->createdSddl = sddl;
    return kOk;
}

OsResult MemoryFileSystem::GetFolderSecurity(const std::string& path, FolderSecurity& security) {
    security = FolderSecurity{};
    if (Faulted("GetNamedSecurityInfo"))
        return kErrInjected;
    Entry* entry = nullptr;
    if (OsResult result = LookupPath(path, entry); result != kOk)
        return result;
    security = entry->security;
    return kOk;
}

}  // namespace vk::memory
