#pragma once
// Move-only owner of a kernel handle: closed exactly once, on every way out.
#include <windows.h>

#include <utility>

namespace vk::e2e {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    void reset(HANDLE handle = nullptr) {
        // Keep the caller's last error: closing is bookkeeping, not the failure being reported.
        const DWORD error = GetLastError();
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = handle;
        SetLastError(error);
    }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = nullptr;
};

// Find handles close with FindClose, not CloseHandle.
class UniqueFind {
public:
    explicit UniqueFind(HANDLE handle) : handle_(handle) {}
    UniqueFind(const UniqueFind&) = delete;
    UniqueFind& operator=(const UniqueFind&) = delete;
    ~UniqueFind() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Registry keys close with RegCloseKey; predefined roots are never owned.
class UniqueKey {
public:
    UniqueKey() = default;
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    ~UniqueKey() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    HKEY get() const { return key_; }
    // For the out-parameter of RegOpenKeyEx / RegCreateKeyEx; only on an empty owner.
    HKEY* out() { return &key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

}  // namespace vk::e2e
