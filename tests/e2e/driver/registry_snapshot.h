#pragma once
// A registry subtree held in memory: to check that a run changed nothing below a key, and to
// put the key back as it was when a test ends.
#include <windows.h>

#include <string>
#include <vector>

namespace vk::e2e {

class RegistrySnapshot {
public:
    static RegistrySnapshot capture(HKEY root, const std::string& path);

    bool exists() const { return exists_; }
    // Deletes the subtree and writes the captured one back (or leaves none). Throws DriverError.
    void restore() const;
    // Every key and value, one per line, UTF-8: for EXPECT_EQ diffs.
    std::string describe() const;

    bool operator==(const RegistrySnapshot& other) const = default;

    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;
        bool operator==(const Value&) const = default;
    };
    struct Key {
        std::string name;
        std::vector<Value> values;
        std::vector<Key> subkeys;
        bool operator==(const Key&) const = default;
    };

private:
    HKEY root_ = nullptr;
    std::string path_;
    bool exists_ = false;
    Key key_;
};

// Restores a subtree on leaving scope, whatever the test did to it.
class RegistryGuard {
public:
    RegistryGuard(HKEY root, const std::string& path)
        : snapshot_(RegistrySnapshot::capture(root, path)) {}
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;
    ~RegistryGuard();

    const RegistrySnapshot& before() const { return snapshot_; }

private:
    RegistrySnapshot snapshot_;
};

}  // namespace vk::e2e
