#include "install/timed_file_system.h"

#include "common/bench_clock.h"

namespace vk::bench {

template <typename Call>
auto TimedFileSystem::Timed(const char* operation, Call call) {
    const double start = NowMs();
    const auto result = call();
    Totals& totals = totals_[operation];
    totals.ms += NowMs() - start;
    ++totals.calls;
    return result;
}

double TimedFileSystem::TotalMs() const {
    double ms = 0;
    for (const auto& [operation, totals] : totals_) {
        ms += totals.ms;
    }
    return ms;
}

OsResult TimedFileSystem::GetModulePath(std::string& path) {
    return Timed("GetModulePath", [&] { return inner_.GetModulePath(path); });
}

OsResult TimedFileSystem::FindFirst(const std::string& pattern, FindHandle& handle,
                                    FindEntry& entry) {
    return Timed("FindFirst", [&] { return inner_.FindFirst(pattern, handle, entry); });
}

OsResult TimedFileSystem::FindNext(FindHandle handle, FindEntry& entry) {
    return Timed("FindNext", [&] { return inner_.FindNext(handle, entry); });
}

OsResult TimedFileSystem::FindClose(FindHandle handle) {
    return Timed("FindClose", [&] { return inner_.FindClose(handle); });
}

std::uint32_t TimedFileSystem::GetAttributes(const std::string& path) {
    return Timed("GetAttributes", [&] { return inner_.GetAttributes(path); });
}

OsResult TimedFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return Timed("SetAttributes", [&] { return inner_.SetAttributes(path, attributes); });
}

OsResult TimedFileSystem::CreateFolder(const std::string& path) {
    return Timed("CreateFolder", [&] { return inner_.CreateFolder(path); });
}

OsResult TimedFileSystem::CopyFile(const std::string& source, const std::string& destination) {
    return Timed("CopyFile", [&] { return inner_.CopyFile(source, destination); });
}

OsResult TimedFileSystem::CopyFileNew(const std::string& source, const std::string& destination) {
    return Timed("CopyFile", [&] { return inner_.CopyFileNew(source, destination); });
}

OsResult TimedFileSystem::CopyToNewFile(const std::string& source, const std::string& destination,
                                        const std::function<void(std::string_view)>& seen) {
    return Timed("CopyFile", [&] { return inner_.CopyToNewFile(source, destination, seen); });
}

OsResult TimedFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return Timed("MoveReplacing", [&] { return inner_.MoveReplacing(from, to); });
}

OsResult TimedFileSystem::CreateFolderWithSecurity(const std::string& path,
                                                   const std::string& sddl) {
    return Timed("CreateFolder", [&] { return inner_.CreateFolderWithSecurity(path, sddl); });
}

OsResult TimedFileSystem::GetEnvironmentVariable(const std::string& name, std::string& value) {
    return Timed("GetEnvironmentVariable",
                 [&] { return inner_.GetEnvironmentVariable(name, value); });
}

OsResult TimedFileSystem::GetRoamingAppDataFolder(std::string& path) {
    return Timed("GetRoamingAppDataFolder", [&] { return inner_.GetRoamingAppDataFolder(path); });
}

OsResult TimedFileSystem::GetCurrentFolder(std::string& path) {
    return Timed("GetCurrentFolder", [&] { return inner_.GetCurrentFolder(path); });
}

OsResult TimedFileSystem::ReadWholeFile(const std::string& path, std::string& content) {
    return Timed("ReadWholeFile", [&] { return inner_.ReadWholeFile(path, content); });
}

OsResult TimedFileSystem::ReadInPieces(const std::string& path,
                                       const std::function<void(std::string_view)>& take) {
    return Timed("ReadInPieces", [&] { return inner_.ReadInPieces(path, take); });
}

OsResult TimedFileSystem::AppendToFile(const std::string& path, const std::string& bytes) {
    return Timed("AppendToFile", [&] { return inner_.AppendToFile(path, bytes); });
}

OsResult TimedFileSystem::RemoveFile(const std::string& path) {
    return Timed("RemoveFile", [&] { return inner_.RemoveFile(path); });
}

OsResult TimedFileSystem::RemoveEmptyFolder(const std::string& path) {
    return Timed("RemoveEmptyFolder", [&] { return inner_.RemoveEmptyFolder(path); });
}

OsResult TimedFileSystem::ApplySecurity(const std::string& path, const std::string& sddl) {
    return Timed("ApplySecurity", [&] { return inner_.ApplySecurity(path, sddl); });
}

OsResult TimedFileSystem::GetFolderSecurity(const std::string& path, FolderSecurity& security) {
    return Timed("GetFolderSecurity", [&] { return inner_.GetFolderSecurity(path, security); });
}

}  // namespace vk::bench
