#pragma once
// Registry operations that discovery and the registrations share, on top of
// vk::IRegistry: subkey walks that survive a failing step, and value data
// taken as text.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vk {

// The buffer, in bytes, with which discovery reads "AcadLocation" and "ProductName".
inline constexpr std::size_t kDiscoveryValueBuffer = 256;

// Number of immediate subkeys of `key`; 0 when the query fails.
std::uint32_t SubkeyCountOrZero(IRegistry& registry, RegHandle key);

// Calls `visit` with the name of each subkey of `key`, index 0 first, reading
// each name just before its visit. A step whose read fails (the key changed
// during the walk) is skipped: an empty name would open `key` itself again.
void ForEachSubkeyName(IRegistry& registry, RegHandle key,
                       const std::function<void(const std::string&)>& visit);

// Appends to `names`, in enumeration order, the subkeys of `key` that can be
// opened for reading; each is closed again at once.
void ListReadableSubkeys(IRegistry& registry, RegHandle key, std::vector<std::string>& names);

// Value data as text: the bytes up to the first NUL, or all of them when
// there is none.
std::string TextUpToNul(const std::vector<std::uint8_t>& data);

// Reads value `name` of `key` with a buffer of `bufferSize` bytes. On kOk
// `text` holds the data up to the first NUL; on any failure (absent, larger
// than the buffer) `text` is empty. The value's type is not examined.
OsResult QueryValueText(IRegistry& registry, RegHandle key, const std::string& name,
                        std::size_t bufferSize, std::string& text);

// A value as stored: its type and all its bytes, read at whatever size it
// has (a value that grows between its size and its read is read again).
struct StoredValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};
// kOk; kErrFileNotFound when there is no such value; or why it cannot be read.
OsResult ReadStoredValue(IRegistry& registry, RegHandle key, const std::string& name,
                         StoredValue& value);

// Whether a key holds nothing at all: no subkey and no value.
bool IsEmptyKey(IRegistry& registry, RegHandle key);

// A text value read with the wide functions at whatever size it has (read
// again when it grows in between); kOk, kErrFileNotFound, or why not.
OsResult ReadTextValue(IRegistry& registry, RegHandle key, const std::string& name,
                       std::u16string& text, std::uint32_t& type);

// A value for the log: "(none)", a DWORD as a number, text in quotes, other
// types by their type number and size.
std::string DescribeStoredValue(const StoredValue* value);

}  // namespace vk
