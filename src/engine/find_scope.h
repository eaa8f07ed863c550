#pragma once
// An owned find handle: FindClose exactly once, on every way out.
#include <string>
#include <utility>

#include "platform/file_system.h"

namespace vk {

class FindScope {
public:
    explicit FindScope(IFileSystem& files) : files_(files) {}
    FindScope(const FindScope&) = delete;
    FindScope& operator=(const FindScope&) = delete;
    ~FindScope() { Close(); }

    // FindFirstFileA; on success the handle is owned by this scope.
    OsResult First(const std::string& pattern, FindEntry& entry) {
        Close();
        return files_.FindFirst(pattern, handle_, entry);
    }
    // FindNextFileA on the owned handle.
    OsResult Next(FindEntry& entry) {
        return handle_ == kNoFind ? kErrInvalidHandle : files_.FindNext(handle_, entry);
    }
    void Close() {
        if (handle_ != kNoFind)
            files_.FindClose(std::exchange(handle_, kNoFind));
    }

private:
    IFileSystem& files_;
    FindHandle handle_ = kNoFind;
};

}  // namespace vk
