#pragma once
// A folder of a test's own in %TEMP%, removed with everything in it when the
// owner goes away.
#include <string>

namespace vk::contract {

// A name that no other test, nor another test program running at the same time, uses.
std::string UniqueName();

// Throws std::runtime_error naming `what` and the thread's last error.
[[noreturn]] void FailWithLastError(const std::string& what);

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Absolute, without a trailing backslash.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace vk::contract
