#pragma once
// A registry in memory that behaves as Windows' does where the setup can tell:
// names compare without regard to case, subkeys enumerate sorted the same way,
// a key with subkeys cannot be deleted, a value larger than the buffer is
// ERROR_MORE_DATA. It counts open handles and fails what a test asks it to.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/fault_injector.h"
#include "platform/registry.h"

namespace vk::memory {

struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    // A text written by the wide functions: `data` holds its UTF-16 code units
    // (little-endian, NUL included). Windows keeps every text so; here only
    // these, and the ANSI functions see them converted, as Windows shows them.
    bool wide = false;
};

// The SID under which HKEY_USERS shows the current user's hive (Wine's
// user has it too).
inline constexpr const char* kCurrentUserSid = "S-1-5-21-0-0-0-1000";

class MemoryRegistry : public IRegistry {
public:
    // The fault injector is shared with the other memory services of a test;
    // without one, nothing fails.
    explicit MemoryRegistry(FaultInjector* faults = nullptr);
    ~MemoryRegistry() override;

    // IRegistry
    OsResult OpenRoot(RegRoot root, RegHandle& key) override;
    OsResult OpenKey(RegHandle parent, const std::string& path, RegHandle& key) override;
    OsResult OpenKeyForRead(RegHandle parent, const std::string& subKey, RegHandle& key) override;
    OsResult CreateKey(RegHandle parent, const std::string& path, RegHandle& key) override;
    OsResult QuerySubkeyCount(RegHandle key, std::uint32_t& count) override;
    OsResult EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) override;
    OsResult QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                        std::vector<std::uint8_t>& data, std::uint32_t& type) override;
    OsResult QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) override;
    OsResult SetDword(RegHandle key, const std::string& name, std::uint32_t value) override;
    OsResult SetString(RegHandle key, const std::string& name, const std::string& text) override;
    OsResult QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) override;
    OsResult QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                       std::u16string& text, std::uint32_t& type) override;
    OsResult SetText(RegHandle key, const std::string& name, std::uint32_t type,
                     const std::u16string& text) override;
    OsResult SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data) override;
    // Fault names: "RegDeleteValue", "RegEnumValue".
    OsResult DeleteValue(RegHandle key, const std::string& name) override;
    OsResult EnumValueName(RegHandle key, std::uint32_t index, std::string& name) override;
    OsResult DeleteKey(RegHandle parent, const std::string& path) override;
    OsResult CloseKey(RegHandle key) override;

    // Seeding and inspection for tests; paths are backslash-separated, below a root.
    void AddKey(RegRoot root, const std::string& path);
    // A REG_SZ as regedit stores it: the text and its terminating NUL.
    void SetStringValue(RegRoot root, const std::string& path, const std::string& name,
                        const std::string& text);
    void SetRawValue(RegRoot root, const std::string& path, const std::string& name,
                     RegValue value);
    std::optional<RegValue> GetValue(RegRoot root, const std::string& path,
                                     const std::string& name) const;
    // A REG_SZ or REG_EXPAND_SZ as the wide functions store it.
    void SetTextValue(RegRoot root, const std::string& path, const std::string& name,
                      std::uint32_t type, const std::u16string& text);
    // The value's data as text up to the first NUL, as the ANSI functions
    // show it; nullopt when absent.
    std::optional<std::string> GetString(RegRoot root, const std::string& path,
                                         const std::string& name) const;
    // A text up to its first NUL, as the wide functions show it; nullopt when
    // absent or not a text.
    std::optional<std::u16string> GetText(RegRoot root, const std::string& path,
                                          const std::string& name) const;
    bool KeyExists(RegRoot root, const std::string& path) const;
    std::vector<std::string> SubkeyNames(RegRoot root, const std::string& path) const;
    std::vector<std::string> ValueNames(RegRoot root, const std::string& path) const;
    // A user signs out: HKEY_USERS no longer holds the hive of `sid`.
    void UnloadUserHive(const std::string& sid);
    // Every open of this key (for reading or writing) fails with access denied.
    void DenyAccess(RegRoot root, const std::string& path);

    std::size_t OpenHandleCount() const { return handles_.size(); }
    std::size_t HandlesEverOpened() const { return nextHandle_ - 1; }

private:
    struct Node;
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Node {
        std::map<std::string, std::shared_ptr<Node>, NameLess> children;
        std::map<std::string, RegValue, NameLess> values;
        bool denied = false;
        bool deleted = false;
    };

    bool Faulted(const char* operation);
    std::shared_ptr<Node> RootNode(RegRoot root) const;
    std::shared_ptr<Node> NodeOf(RegHandle key) const;
    std::shared_ptr<Node> Walk(std::shared_ptr<Node> from, const std::string& path,
                               bool create) const;
    RegHandle NewHandle(std::shared_ptr<Node> node);
    OsResult Open(RegHandle parent, const std::string& path, RegHandle& key);
    // The value named `name` of an open key, or an error.
    OsResult FindValue(RegHandle key, const std::string& name, const RegValue*& value) const;

    FaultInjector* faults_;
    std::shared_ptr<Node> localMachine_;
    std::shared_ptr<Node> currentUser_;
    std::shared_ptr<Node> users_;  // holds currentUser_ under kCurrentUserSid
    std::map<RegHandle, std::shared_ptr<Node>> handles_;
    RegHandle nextHandle_ = 1;
};

}  // namespace vk::memory
