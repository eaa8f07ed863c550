#pragma once
// The file system as the setup uses it: the ANSI KERNEL32 file functions of
// a Chinese Windows (paths in code page 936), narrowed to what deployment,
// support files and the folder rules need.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/os_error.h"

namespace vk {

// File attributes (the Win32 FILE_ATTRIBUTE_* bits the setup looks at).
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;
// GetFileAttributesA's answer for a path that does not exist.
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;

using FindHandle = std::uintptr_t;
inline constexpr FindHandle kNoFind = 0;

// Reparse tags (IO_REPARSE_TAG_*) of the links the setup refuses to follow.
inline constexpr std::uint32_t kReparseTagMountPoint = 0xA0000003;  // a junction
inline constexpr std::uint32_t kReparseTagSymlink = 0xA000000C;

struct FindEntry {
    std::string name;  // the entry's own name, no folder
    std::uint32_t attributes = 0;
    // With kAttrReparsePoint: the reparse tag (WIN32_FIND_DATA's dwReserved0);
    // otherwise 0. Wine 8 shows a Unix symbolic link to a folder as 0x410 with
    // tag 0, a link to a file as a plain file (measured under Wine 8.0).
    std::uint32_t reparseTag = 0;
};

// Who owns a file or folder, as far as the setup's checks tell owners apart.
enum class FileOwner {
    Administrators,    // BUILTIN\Administrators, S-1-5-32-544
    System,            // S-1-5-18
    TrustedInstaller,  // NT SERVICE\TrustedInstaller
    RunningAccount,    // the account this program runs as
    Other,             // anyone else, or no owner at all
};

// What a standard user may do to a folder.
struct FolderSecurity {
    FileOwner owner = FileOwner::Other;
    // The access mask (FILE_* and standard rights, generic ones mapped) that a
    // token holding Users (S-1-5-32-545), Authenticated Users (S-1-5-11) and
    // Everyone (S-1-1-0) gets from the folder's DACL, as Windows evaluates it:
    // ACEs in order, a right denied before it is allowed stays denied,
    // inherit-only ACEs left out. A missing (NULL) DACL grants everything.
    std::uint32_t standardUserRights = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // GetModuleFileNameA(NULL, ...): the running program's full path.
    virtual OsResult GetModulePath(std::string& path) = 0;
    // FindFirstFileA: the first entry matching `pattern` ("folder\*.*" or a path).
    // On failure `handle` is kNoFind. A handle must be closed with FindClose.
    virtual OsResult FindFirst(const std::string& pattern, FindHandle& handle,
                               FindEntry& entry) = 0;
    // FindNextFileA: kErrNoMoreFiles after the last entry.
    virtual OsResult FindNext(FindHandle handle, FindEntry& entry) = 0;
    virtual OsResult FindClose(FindHandle handle) = 0;
    // GetFileAttributesA: kInvalidAttributes when the path does not exist.
    virtual std::uint32_t GetAttributes(const std::string& path) = 0;
    virtual OsResult SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // CreateDirectoryA(path, NULL): one level; the parent must exist.
    virtual OsResult CreateFolder(const std::string& path) = 0;
    // CopyFileA(source, destination, FALSE): overwrites, except a read-only destination.
    virtual OsResult CopyFile(const std::string& source, const std::string& destination) = 0;
    // CopyFileA(source, destination, TRUE): only into a name that does not
    // exist (kErrFileExists otherwise, a link of that name included), so that
    // nothing another account put there is written through or kept.
    virtual OsResult CopyFileNew(const std::string& source, const std::string& destination) = 0;
    // GetEnvironmentVariableA: kErrFileNotFound (ERROR_ENVVAR_NOT_FOUND is 203) when unset.
    virtual OsResult GetEnvironmentVariable(const std::string& name, std::string& value) = 0;
    // The shell's roaming application-data folder of the current user (CSIDL_APPDATA).
    virtual OsResult GetRoamingAppDataFolder(std::string& path) = 0;
    // GetCurrentDirectoryA.
    virtual OsResult GetCurrentFolder(std::string& path) = 0;

    // The whole content of a file (CreateFileA for reading, sharing reads).
    virtual OsResult ReadWholeFile(const std::string& path, std::string& content) = 0;
    // The same file handed to `take` in pieces of at most 64 KiB, in order:
    // a file of any size is read without holding it whole.
    virtual OsResult ReadInPieces(const std::string& path,
                                  const std::function<void(std::string_view)>& take) = 0;
    // Appends `bytes` at the end of a file, creating it when missing, and
    // flushes them to the disk before it answers: what was written stays
    // written, whatever happens to the program next.
    virtual OsResult AppendToFile(const std::string& path, const std::string& bytes) = 0;
    // Copies `source` into a new file `destination` (kErrFileExists when the
    // name exists) in one pass: every piece read, at most 64 KiB, is written
    // and handed to `seen`, so that what was written is hashed without being
    // read again. The copy keeps the source's last-write time. On a failure
    // the new file is removed again.
    virtual OsResult CopyToNewFile(const std::string& source, const std::string& destination,
                                   const std::function<void(std::string_view)>& seen) = 0;
    // MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH):
    // renames a file, taking the place of a file (or a link) at `to`, whose
    // name is replaced, never written through. A folder at `to`, or a
    // read-only file, is refused (kErrAccessDenied).
    virtual OsResult MoveReplacing(const std::string& from, const std::string& to) = 0;
    // DeleteFileA: a file, not a folder; a read-only file is refused.
    virtual OsResult RemoveFile(const std::string& path) = 0;
    // RemoveDirectoryA: an empty folder only.
    virtual OsResult RemoveEmptyFolder(const std::string& path) = 0;

    // SetNamedSecurityInfoA with the owner and DACL of a security descriptor
    // in SDDL; the DACL is protected (inherits nothing) exactly when the SDDL
    // says "D:P". Follows a link at `path`: callers must not pass one.
    virtual OsResult ApplySecurity(const std::string& path, const std::string& sddl) = 0;
    // CreateDirectoryA with a security descriptor in SDDL: one level, which
    // carries the descriptor from the moment it exists (never, even briefly,
    // the rights its parent hands on). kErrAlreadyExists when the path exists.
    virtual OsResult CreateFolderWithSecurity(const std::string& path, const std::string& sddl) = 0;
    // GetNamedSecurityInfoA: the owner and the standard user's rights.
    virtual OsResult GetFolderSecurity(const std::string& path, FolderSecurity& security) = 0;
};

}  // namespace vk
