#pragma once
// One move-only owner for every kind of Win32 handle: a traits type names the
// handle type, its "empty" value and how to close it. Predefined registry roots
// (HKEY_LOCAL_MACHINE, ...) are never put into an owner.
#include <utility>

#include "platform/win32/windows_api.h"

namespace vk::win32 {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    // Closes the owned handle, keeping the thread's last error: callers read
    // GetLastError() after a failure and cleanup must not overwrite it.
    void Reset(Handle handle = Traits::Empty()) {
        if (handle_ != Traits::Empty()) {
            const DWORD lastError = GetLastError();
            Traits::Close(handle_);
            SetLastError(lastError);
        }
        handle_ = handle;
    }
    [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    Handle Get() const { return handle_; }
    // For functions that return a handle through a pointer; drops the old one.
    Handle* Put() {
        Reset();
        return &handle_;
    }
    explicit operator bool() const { return handle_ != Traits::Empty(); }

private:
    Handle handle_ = Traits::Empty();
};

struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE find) { ::FindClose(find); }
};

// Kernel handles whose failure value is INVALID_HANDLE_VALUE (CreateFileA,
// CreateToolhelp32Snapshot).
struct InvalidValueHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// Kernel handles whose failure value is null (processes, threads).
struct NullHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// Memory the system allocated for the caller with LocalAlloc (security
// descriptors, SID strings).
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static HLOCAL Empty() { return nullptr; }
    static void Close(HLOCAL memory) { LocalFree(memory); }
};

using UniqueHKey = UniqueHandle<RegKeyTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueFile = UniqueHandle<InvalidValueHandleTraits>;
using UniqueSnapshot = UniqueHandle<InvalidValueHandleTraits>;
using UniqueProcess = UniqueHandle<NullHandleTraits>;
using UniqueLocal = UniqueHandle<LocalMemoryTraits>;

}  // namespace vk::win32
