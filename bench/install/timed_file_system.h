#pragma once
// A file system that times each call it passes on: where an installation
// spends its time, told apart from the work of the code that makes the calls.
#include <map>
#include <string>

#include "platform/file_system.h"

namespace vk::bench {

class TimedFileSystem final : public IFileSystem {
public:
    explicit TimedFileSystem(IFileSystem& inner) : inner_(inner) {}

    struct Totals {
        double ms = 0;
        int calls = 0;
    };
    // Per operation ("CopyFile", "GetAttributes", ...), since the last Reset.
    const std::map<std::string, Totals>& Operations() const { return totals_; }
    double TotalMs() const;
    void Reset() { totals_.clear(); }

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
    OsResult MoveReplacing(const std::string& from, const std::string& to) override;
    OsResult CreateFolderWithSecurity(const std::string& path, const std::string& sddl) override;
    OsResult GetEnvironmentVariable(const std::string& name, std::string& value) override;
    OsResult GetRoamingAppDataFolder(std::string& path) override;
    OsResult GetCurrentFolder(std::string& path) override;
    OsResult ReadWholeFile(const std::string& path, std::string& content) override;
    OsResult ReadInPieces(const std::string& path,
                          const std::function<void(std::string_view)>& take) override;
    OsResult AppendToFile(const std::string& path, const std::string& bytes) override;
    OsResult RemoveFile(const std::string& path) override;
    OsResult RemoveEmptyFolder(const std::string& path) override;
    OsResult ApplySecurity(const std::string& path, const std::string& sddl) override;
    OsResult GetFolderSecurity(const std::string& path, FolderSecurity& security) override;

private:
    template <typename Call>
    auto Timed(const char* operation, Call call);

    IFileSystem& inner_;
    std::map<std::string, Totals> totals_;
};

}  // namespace vk::bench
