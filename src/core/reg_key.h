#pragma once
// An owned open registry key: closed exactly once, on every way out.
#include <utility>

#include "platform/registry.h"

namespace vk {

class RegKey {
public:
    explicit RegKey(IRegistry& registry) : registry_(&registry) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept
        : registry_(other.registry_), handle_(std::exchange(other.handle_, kNoKey)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Reset();
            registry_ = other.registry_;
            handle_ = std::exchange(other.handle_, kNoKey);
        }
        return *this;
    }
    ~RegKey() { Reset(); }

    // The open calls commit on success only: on failure the key stays empty.
    OsResult OpenRoot(RegRoot root) { return Take(&IRegistry::OpenRoot, root); }
    OsResult Open(RegHandle parent, const std::string& path) {
        return Take(&IRegistry::OpenKey, parent, path);
    }
    OsResult OpenForRead(RegHandle parent, const std::string& subKey) {
        return Take(&IRegistry::OpenKeyForRead, parent, subKey);
    }
    OsResult Create(RegHandle parent, const std::string& path) {
        return Take(&IRegistry::CreateKey, parent, path);
    }

    void Reset() {
        if (handle_ != kNoKey) registry_->CloseKey(std::exchange(handle_, kNoKey));
    }

    RegHandle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != kNoKey; }

private:
    template <typename Fn, typename... Args>
    OsResult Take(Fn fn, Args&&... args) {
        RegHandle opened = kNoKey;
        OsResult result = (registry_->*fn)(std::forward<Args>(args)..., opened);
        if (result == kOk && opened != kNoKey) {
            Reset();
            handle_ = opened;
        } else if (opened != kNoKey) {
            registry_->CloseKey(opened);  // a failure that still handed out a key
        }
        return result;
    }

    IRegistry* registry_;
    RegHandle handle_ = kNoKey;
};

}  // namespace vk
