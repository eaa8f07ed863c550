#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/memory/cp936_codepage.h"

namespace vk::memory {
namespace {

const Cp936CodePage kCodePage;

// Splits a key path at backslashes that are separators, not trail bytes of
// double-byte characters. Empty pieces (a trailing backslash) are dropped.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (kCodePage.IsLeadByte(byte) && i + 1 < path.size()) {
            current += path[i];
            current += path[++i];
        } else if (byte == '\\') {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

std::vector<std::uint8_t> TextWithNul(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz;
}

// UTF-16 code units as stored: little-endian.
std::vector<std::uint8_t> BytesOfUnits(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string UnitsOfBytes(const std::vector<std::uint8_t>& bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    }
    return units;
}

// The data as the ANSI functions give them: a wide text converted.
std::vector<std::uint8_t> AnsiData(const RegValue& value) {
    if (!value.wide)
        return value.data;
    const std::string text = kCodePage.ToAnsi(UnitsOfBytes(value.data));
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The data as the wide functions give them: an ANSI text converted, NUL and all.
std::vector<std::uint8_t> WideData(const RegValue& value) {
    if (value.wide || !IsText(value.type))
        return value.data;
    return BytesOfUnits(kCodePage.ToWide(std::string(value.data.begin(), value.data.end())));
}

std::u16string UpToNul(const std::u16string& units) {
    return units.substr(0, units.find(u'\0'));
}

}  // namespace

// Windows compares key and value names by their upper-case forms.
bool MemoryRegistry::NameLess::operator()(const std::string& a, const std::string& b) const {
    return kCodePage.ToUpper(a) < kCodePage.ToUpper(b);
}

MemoryRegistry::MemoryRegistry(FaultInjector* faults)
    : faults_(faults),
      localMachine_(std::make_shared<Node>()),
      currentUser_(std::make_shared<Node>()),
      users_(std::make_shared<Node>()) {
    // As in Windows, HKEY_CURRENT_USER is the current user's hive of HKEY_USERS.
    users_->children.emplace(kCurrentUserSid, currentUser_);
}

MemoryRegistry::~MemoryRegistry() = default;

bool MemoryRegistry::Faulted(const char* operation) {
    return faults_ != nullptr && faults_->ShouldFail(operation);
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::RootNode(RegRoot root) const {
    switch (root) {
        case RegRoot::LocalMachine:
            return localMachine_;
        case RegRoot::CurrentUser:
            return currentUser_;
        case RegRoot::Users:
            break;
    }
    return users_;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::NodeOf(RegHandle key) const {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Walk(std::shared_ptr<Node> from,
                                                           const std::string& path,
                                                           bool create) const {
    std::shared_ptr<Node> node = std::move(from);
    for (const std::string& part : SplitPath(path)) {
        if (part.size() > kMaxKeyNameChars)
            return nullptr;
        auto it = node->children.find(part);
        if (it == node->children.end()) {
            if (!create)
                return nullptr;
            it = node->children.emplace(part, std::make_shared<Node>()).first;
        }
        node = it->second;
    }
    return node;
}

RegHandle MemoryRegistry::NewHandle(std::shared_ptr<Node> node) {
    RegHandle handle = nextHandle_++;
    handles_.emplace(handle, std::move(node));
    return handle;
}

OsResult MemoryRegistry::OpenRoot(RegRoot root, RegHandle& key) {
    key = kNoKey;
    if (Faulted("RegOpenRoot"))
        return kErrInjected;
    key = NewHandle(RootNode(root));
    return kOk;
}

OsResult MemoryRegistry::Open(RegHandle parent, const std::string& path, RegHandle& key) {
    key = kNoKey;
    std::shared_ptr<Node> from = NodeOf(parent);
    if (!from || from->deleted)
        return kErrInvalidHandle;
    std::shared_ptr<Node> node = Walk(from, path, false);
    if (!node)
        return kErrFileNotFound;
    if (node->denied)
        return kErrAccessDenied;
    key = NewHandle(node);
    return kOk;
}

OsResult MemoryRegistry::OpenKey(RegHandle parent, const std::string& path, RegHandle& key) {
    key = kNoKey;
    if (Faulted("RegOpenKey"))
        return kErrInjected;
    return Open(parent, path, key);
}

OsResult MemoryRegistry::OpenKeyForRead(RegHandle parent, const std::string& subKey,
                                        RegHandle& key) {
    key = kNoKey;
    if (Faulted("RegOpenKeyEx"))
        return kErrInjected;
    return Open(parent, subKey, key);
}

OsResult MemoryRegistry::CreateKey(RegHandle parent, const std::string& path, RegHandle& key) {
    key = kNoKey;
    if (Faulted("RegCreateKey"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(parent);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    for (const std::string& part : SplitPath(path)) {
        if (part.size() > kMaxKeyNameChars)
            return kErrInvalidParameter;
        if (node->denied)
            return kErrAccessDenied;
        auto it = node->children.find(part);
        if (it == node->children.end()) {
            it = node->children.emplace(part, std::make_shared<Node>()).first;
        }
        node = it->second;
    }
    if (node->denied)
        return kErrAccessDenied;
    key = NewHandle(node);
    return kOk;
}

OsResult MemoryRegistry::QuerySubkeyCount(RegHandle key, std::uint32_t& count) {
    if (Faulted("RegQueryInfoKey"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node)
        return kErrInvalidHandle;
    count = static_cast<std::uint32_t>(node->children.size());
    return kOk;
}

OsResult MemoryRegistry::EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    if (Faulted("RegEnumKeyEx"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node)
        return kErrInvalidHandle;
    if (index >= node->children.size())
        return kErrNoMoreItems;
    name = std::next(node->children.begin(), index)->first;
    return kOk;
}

OsResult MemoryRegistry::FindValue(RegHandle key, const std::string& name,
                                   const RegValue*& value) const {
    value = nullptr;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node)
        return kErrInvalidHandle;
    auto it = node->values.find(name);
    if (it == node->values.end())
        return kErrFileNotFound;
    value = &it->second;
    return kOk;
}

OsResult MemoryRegistry::QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                                    std::vector<std::uint8_t>& data, std::uint32_t& type) {
    data.clear();
    if (Faulted("RegQueryValueEx"))
        return kErrInjected;
    const RegValue* value = nullptr;
    if (const OsResult found = FindValue(key, name, value); found != kOk)
        return found;
    type = value->type;
    std::vector<std::uint8_t> stored = AnsiData(*value);
    if (stored.size() > bufferSize)
        return kErrMoreData;
    data = std::move(stored);
    return kOk;
}

OsResult MemoryRegistry::QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) {
    size = 0;
    if (Faulted("RegQueryValueEx"))
        return kErrInjected;
    const RegValue* value = nullptr;
    if (const OsResult found = FindValue(key, name, value); found != kOk)
        return found;
    size = AnsiData(*value).size();
    return kOk;
}

OsResult MemoryRegistry::QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) {
    size = 0;
    if (Faulted("RegQueryValueEx"))
        return kErrInjected;
    const RegValue* value = nullptr;
    if (const OsResult found = FindValue(key, name, value); found != kOk)
        return found;
    size = WideData(*value).size();
    return kOk;
}

OsResult MemoryRegistry::QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                                   std::u16string& text, std::uint32_t& type) {
    text.clear();
    if (Faulted("RegQueryValueEx"))
        return kErrInjected;
    const RegValue* value = nullptr;
    if (const OsResult found = FindValue(key, name, value); found != kOk)
        return found;
    type = value->type;
    const std::vector<std::uint8_t> stored = WideData(*value);
    if (stored.size() > bufferSize)
        return kErrMoreData;
    if (IsText(value->type))
        text = UpToNul(UnitsOfBytes(stored));
    return kOk;
}

OsResult MemoryRegistry::SetText(RegHandle key, const std::string& name, std::uint32_t type,
                                 const std::u16string& text) {
    if (Faulted("RegSetValueEx"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    if (!IsText(type))
        return kErrInvalidParameter;
    node->values[name] = RegValue{type, BytesOfUnits(text + u'\0'), true};
    return kOk;
}

OsResult MemoryRegistry::SetDword(RegHandle key, const std::string& name, std::uint32_t value) {
    if (Faulted("RegSetValueEx"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    RegValue stored{kRegDword, std::vector<std::uint8_t>(4)};
    std::memcpy(stored.data.data(), &value, 4);  // little-endian, as REG_DWORD is
    node->values[name] = std::move(stored);
    return kOk;
}

OsResult MemoryRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                  const std::vector<std::uint8_t>& data) {
    if (Faulted("RegSetValueEx"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    node->values[name] = RegValue{type, data};
    return kOk;
}

OsResult MemoryRegistry::DeleteValue(RegHandle key, const std::string& name) {
    if (Faulted("RegDeleteValue"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    return node->values.erase(name) == 1 ? kOk : kErrFileNotFound;
}

OsResult MemoryRegistry::EnumValueName(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    if (Faulted("RegEnumValue"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    if (index >= node->values.size())
        return kErrNoMoreItems;
    name = std::next(node->values.begin(), index)->first;
    return kOk;
}

OsResult MemoryRegistry::SetString(RegHandle key, const std::string& name,
                                   const std::string& text) {
    if (Faulted("RegSetValueEx"))
        return kErrInjected;
    std::shared_ptr<Node> node = NodeOf(key);
    if (!node || node->deleted)
        return kErrInvalidHandle;
    // Windows (and Wine) store the terminating NUL even though the length
    // passed leaves it out, when the byte after the data is one, as it always
    // is after a C string.
    std::vector<std::uint8_t> data(text.begin(), text.end());
    if (!data.empty() && data.back() != 0)
        data.push_back(0);
    node->values[name] = RegValue{kRegSz, std::move(data)};
    return kOk;
}

OsResult MemoryRegistry::DeleteKey(RegHandle parent, const std::string& path) {
    if (Faulted("RegDeleteKey"))
        return kErrInjected;
    std::shared_ptr<Node> from = NodeOf(parent);
    if (!from)
        return kErrInvalidHandle;
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty())
        return kErrAccessDenied;
    const std::string last = parts.back();
    parts.pop_back();
    std::shared_ptr<Node> owner = from;
    for (const std::string& part : parts) {
        auto it = owner->children.find(part);
        if (it == owner->children.end())
            return kErrFileNotFound;
        owner = it->second;
    }
    auto it = owner->children.find(last);
    if (it == owner->children.end())
        return kErrFileNotFound;
    if (it->second->denied || !it->second->children.empty())
        return kErrAccessDenied;
    it->second->deleted = true;
    owner->children.erase(it);
    return kOk;
}

OsResult MemoryRegistry::CloseKey(RegHandle key) {
    // Closing is neither counted nor failed: a failed close would only hide a leak.
    return handles_.erase(key) == 1 ? kOk : kErrInvalidHandle;
}

void MemoryRegistry::AddKey(RegRoot root, const std::string& path) {
    Walk(RootNode(root), path, true);
}

void MemoryRegistry::SetStringValue(RegRoot root, const std::string& path, const std::string& name,
                                    const std::string& text) {
    SetRawValue(root, path, name, RegValue{kRegSz, TextWithNul(text)});
}

void MemoryRegistry::SetTextValue(RegRoot root, const std::string& path, const std::string& name,
                                  std::uint32_t type, const std::u16string& text) {
    SetRawValue(root, path, name, RegValue{type, BytesOfUnits(text + u'\0'), true});
}

void MemoryRegistry::SetRawValue(RegRoot root, const std::string& path, const std::string& name,
                                 RegValue value) {
    Walk(RootNode(root), path, true)->values[name] = std::move(value);
}

std::optional<RegValue> MemoryRegistry::GetValue(RegRoot root, const std::string& path,
                                                 const std::string& name) const {
    std::shared_ptr<Node> node = Walk(RootNode(root), path, false);
    if (!node)
        return std::nullopt;
    auto it = node->values.find(name);
    if (it == node->values.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> MemoryRegistry::GetString(RegRoot root, const std::string& path,
                                                     const std::string& name) const {
    std::optional<RegValue> value = GetValue(root, path, name);
    if (!value)
        return std::nullopt;
    const std::vector<std::uint8_t> data = AnsiData(*value);
    return std::string(data.begin(), std::find(data.begin(), data.end(), 0));
}

std::optional<std::u16string> MemoryRegistry::GetText(RegRoot root, const std::string& path,
                                                      const std::string& name) const {
    std::optional<RegValue> value = GetValue(root, path, name);
    if (!value || !IsText(value->type))
        return std::nullopt;
    return UpToNul(UnitsOfBytes(WideData(*value)));
}

bool MemoryRegistry::KeyExists(RegRoot root, const std::string& path) const {
    return Walk(RootNode(root), path, false) != nullptr;
}

std::vector<std::string> MemoryRegistry::SubkeyNames(RegRoot root, const std::string& path) const {
    std::vector<std::string> names;
    if (std::shared_ptr<Node> node = Walk(RootNode(root), path, false)) {
        for (const auto& child : node->children)
            names.push_back(child.first);
    }
    return names;
}

std::vector<std::string> MemoryRegistry::ValueNames(RegRoot root, const std::string& path) const {
    std::vector<std::string> names;
    if (std::shared_ptr<Node> node = Walk(RootNode(root), path, false)) {
        for (const auto& value : node->values)
            names.push_back(value.first);
    }
    return names;
}

void MemoryRegistry::UnloadUserHive(const std::string& sid) {
    users_->children.erase(sid);
}

void MemoryRegistry::DenyAccess(RegRoot root, const std::string& path) {
    Walk(RootNode(root), path, true)->denied = true;
}

}  // namespace vk::memory
