#pragma once
// The file system through the wide file functions of KERNEL32 (and SHELL32
// for the application-data folder), paths converted from GBK with code page
// 936 whatever the machine's. Paths longer than MAX_PATH - 1 bytes of GBK
// are refused with kErrFilenameTooLong before the system sees them, so
// nothing is ever silently cut short. A path Windows gives (the program's,
// an environment variable, a shell folder) that GBK cannot hold is refused
// with kErrNotGbk.
#include <vector>

#include "platform/file_system.h"

namespace vk::win32 {

class Win32FileSystem : public IFileSystem {
public:
    OsResult GetModulePath(std::string& path) override;
    OsResult FindFirst(const std::string& pattern, FindHandle& handle, FindEntry& entry) override;
    OsResult FindNext(FindHandle handle, FindEntry& entry) override;
    OsResult FindClose(FindHandle handle) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    OsResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    OsResult CreateFolder(const std::string& path) override;
    OsResult CopyFile(const std::string& source, const std::string& destination) override;
    OsResult CopyFileNew(const std::string& source, const std::string& destination) override;
    OsResult CopyToNewFile(const std::string& source, const std::string& destination,
                           const std::function<void(std::string_view)>& seen) override;
    OsResult GetEnvironmentVariable(const std::string& name, std::string& value) override;
    OsResult GetRoamingAppDataFolder(std::string& path) override;
    OsResult GetCurrentFolder(std::string& path) override;
    OsResult ReadWholeFile(const std::string& path, std::string& content) override;
    OsResult ReadInPieces(const std::string& path,
                          const std::function<void(std::string_view)>& take) override;
    OsResult AppendToFile(const std::string& path, const std::string& bytes) override;
    OsResult MoveReplacing(const std::string& from, const std::string& to) override;
    OsResult RemoveFile(const std::string& path) override;
    OsResult RemoveEmptyFolder(const std::string& path) override;
    // In win32_file_security.cpp.
    OsResult ApplySecurity(const std::string& path, const std::string& sddl) override;
    OsResult GetFolderSecurity(const std::string& path, FolderSecurity& security) override;
    OsResult CreateFolderWithSecurity(const std::string& path, const std::string& sddl) override;

private:
    // One buffer for every piece read: under Wine a fresh large allocation
    // per file costs more than reading the file.
    std::vector<char> buffer_;
};

}  // namespace vk::win32
