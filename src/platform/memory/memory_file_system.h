#pragma once
// A file system in memory that behaves as Windows' does where the setup can
// tell: drive-letter paths, names compared without regard to case (double-byte
// characters of code page 936 kept whole), a folder needs its parent, read-only
// files refuse to be overwritten, paths over 259 bytes are refused. Listings
// give "." and ".." first (except at a drive root, as on Windows), then the
// entries sorted by their upper-cased names, as NTFS lists them. It counts open
// find handles and fails what a test asks it to.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory/fault_injector.h"

namespace vk::memory {

// Win32 results the memory file system gives beyond the shared ones.
inline constexpr OsResult kErrInvalidName = 123;  // ERROR_INVALID_NAME
inline constexpr OsResult kErrDirectory = 267;    // ERROR_DIRECTORY: not a folder

class MemoryFileSystem : public IFileSystem {
public:
    // FILE_GENERIC_READ | FILE_GENERIC_EXECUTE: what Users hold on a folder
    // that only administrators may change.
    static constexpr std::uint32_t kStandardUserReadExecute = 0x1200A9;

    // The fault injector is shared with the other memory services of a test;
    // without one, nothing fails. Drive C: exists from the start.
    explicit MemoryFileSystem(FaultInjector* faults = nullptr);
    ~MemoryFileSystem() override;

    // IFileSystem. Fault names: "GetModuleFileName", "FindFirstFile",
    // "FindNextFile", "GetFileAttributes", "SetFileAttributes", "CreateDirectory",
    // "CopyFile", "GetEnvironmentVariable", "SHGetFolderPath", "GetCurrentDirectory".
    // FindClose is neither counted nor failed.
    OsResult GetModulePath(std::string& path) override;
    OsResult FindFirst(const std::string& pattern, FindHandle& handle, FindEntry& entry) override;
    OsResult FindNext(FindHandle handle, FindEntry& entry) override;
    OsResult FindClose(FindHandle handle) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    OsResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    OsResult CreateFolder(const std::string& path) override;
    OsResult CopyFile(const std::string& source, const std::string& destination) override;
    // Fault name "CopyFile", as CopyFile.
    OsResult CopyFileNew(const std::string& source, const std::string& destination) override;
    // Fault name "CopyFile", as CopyFile.
    OsResult CopyToNewFile(const std::string& source, const std::string& destination,
                           const std::function<void(std::string_view)>& seen) override;
    OsResult GetEnvironmentVariable(const std::string& name, std::string& value) override;
    OsResult GetRoamingAppDataFolder(std::string& path) override;
    OsResult GetCurrentFolder(std::string& path) override;
    // Fault names: "ReadFile", "WriteFile", "DeleteFile", "RemoveDirectory".
    OsResult ReadWholeFile(const std::string& path, std::string& content) override;
    OsResult ReadInPieces(const std::string& path,
                          const std::function<void(std::string_view)>& take) override;
    OsResult AppendToFile(const std::string& path, const std::string& bytes) override;
    // Fault name: "MoveFileEx".
    OsResult MoveReplacing(const std::string& from, const std::string& to) override;
    OsResult RemoveFile(const std::string& path) override;
    OsResult RemoveEmptyFolder(const std::string& path) override;
    // Fault names: "SetNamedSecurityInfo", "GetNamedSecurityInfo". An SDDL is
    // not parsed: an empty one is refused (ERROR_INVALID_PARAMETER), any other
    // is remembered as the entry's last applied descriptor. Entries start
    // owned by Administrators with read and execute for standard users.
    OsResult ApplySecurity(const std::string& path, const std::string& sddl) override;
    OsResult GetFolderSecurity(const std::string& path, FolderSecurity& security) override;
    // Fault name "CreateDirectory", as CreateFolder. The descriptor is
    // remembered as the new folder's applied one (AppliedSecurity) and its
    // creation descriptor (CreatedWithSecurity).
    OsResult CreateFolderWithSecurity(const std::string& path, const std::string& sddl) override;

    // Seeding and inspection for tests: absolute paths ("C:\a\b"), not limited
    // to 259 bytes, neither counted nor failed. Missing parents are created.
    void AddDrive(char letter);
    void AddFolder(const std::string& path, std::uint32_t attributes = kAttrDirectory);
    void AddFile(const std::string& path, const std::string& content = {},
                 std::uint32_t attributes = kAttrArchive);
    // Removes a file or a folder with everything in it.
    void Remove(const std::string& path);
    std::optional<std::string> ReadFile(const std::string& path) const;
    std::optional<std::uint32_t> AttributesOf(const std::string& path) const;
    bool IsFile(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    // Names in the folder, in listing order, without "." and "..".
    std::vector<std::string> List(const std::string& folder) const;
    // Makes an existing entry a reparse point with this tag (a link, when the
    // tag is a symbolic link's or a junction's); the memory file system does
    // not follow it.
    void SetReparseTag(const std::string& path, std::uint32_t tag);
    void SetFolderSecurity(const std::string& path, const FolderSecurity& security);
    // The SDDL last applied to the entry, if any.
    std::optional<std::string> AppliedSecurity(const std::string& path) const;
    // The SDDL the folder was created with, if it was created with one.
    std::optional<std::string> CreatedWithSecurity(const std::string& path) const;

    void SetModulePath(std::string path) { modulePath_ = std::move(path); }
    void SetEnvironmentVariable(const std::string& name, std::string value);
    void ClearEnvironmentVariable(const std::string& name);
    // An empty folder makes GetRoamingAppDataFolder fail.
    void SetRoamingAppDataFolder(std::string path) { roamingAppData_ = std::move(path); }
    void SetCurrentFolder(std::string path) { currentFolder_ = std::move(path); }

    // While locked (opened by another program), copies from or to the file
    // fail with ERROR_SHARING_VIOLATION.
    void Lock(const std::string& path);
    void Unlock(const std::string& path);

    std::size_t OpenFindCount() const { return finds_.size(); }

private:
    struct Entry;
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Children = std::map<std::string, std::unique_ptr<Entry>, NameLess>;
    struct Entry {
        bool folder = false;
        std::uint32_t attributes = 0;
        std::string content;
        bool locked = false;
        std::uint32_t reparseTag = 0;
        FolderSecurity security{FileOwner::Administrators, kStandardUserReadExecute};
        std::optional<std::string> appliedSddl;
        std::optional<std::string> createdSddl;
        Children children;
    };
    // A path taken apart: its drive letter (upper case) and folder names.
    struct Parsed {
        char drive = 0;
        std::vector<std::string> names;
    };
    struct Find {
        std::vector<FindEntry> entries;
        std::size_t next = 0;
    };

    OsResult Copy(const std::string& source, const std::string& destination, bool failIfExists);
    static FindEntry EntryOf(const std::string& name, const Entry& entry);
    bool Faulted(const char* operation);
    OsResult ReadSetting(const char* operation, const std::string& setting, std::string& path);
    OsResult Parse(const std::string& path, bool limitLength, Parsed& parsed) const;
    Entry* Drive(char letter) const;
    // The entry a parsed path names: kErrPathNotFound when a folder on the way
    // is missing, kErrFileNotFound when only the last name is.
    OsResult Lookup(const Parsed& parsed, Entry*& entry) const;
    // Parse and Lookup, keeping what Parse found.
    OsResult ParseAndLookup(const std::string& path, Parsed& parsed, Entry*& entry) const;
    // Parse and Lookup of a path the program gives; wildcards are invalid names.
    OsResult LookupPath(const std::string& path, Entry*& entry) const;
    // The folder that holds the last name of `parsed` (the drive for a root).
    OsResult LookupParent(const Parsed& parsed, Entry*& parent) const;
    Entry* Seed(const std::string& path, bool folder);
    Entry* Inspect(const std::string& path) const;

    FaultInjector* faults_;
    std::map<char, std::unique_ptr<Entry>> drives_;
    std::map<FindHandle, Find> finds_;
    FindHandle nextFind_ = 1;
    std::string modulePath_ = "C:\\Setup\\SetUp.exe";
    std::map<std::string, std::string, NameLess> environment_;
    std::string roamingAppData_ = "C:\\Users\\user\\AppData\\Roaming";
    std::string currentFolder_ = "C:\\";
};

}  // namespace vk::memory
