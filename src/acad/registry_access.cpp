#include "acad/registry_access.h"

#include <algorithm>

#include "core/reg_key.h"

namespace vk {

std::uint32_t SubkeyCountOrZero(IRegistry& registry, RegHandle key) {
    std::uint32_t count = 0;
    if (registry.QuerySubkeyCount(key, count) != kOk)
        return 0;
    return count;
}

void ForEachSubkeyName(IRegistry& registry, RegHandle key,
                       const std::function<void(const std::string&)>& visit) {
    const std::uint32_t count = SubkeyCountOrZero(registry, key);
    for (std::uint32_t index = 0; index < count; ++index) {
        std::string name;
        if (registry.EnumSubkey(key, index, name) != kOk || name.empty())
            continue;
        visit(name);
    }
}

void ListReadableSubkeys(IRegistry& registry, RegHandle key, std::vector<std::string>& names) {
    ForEachSubkeyName(registry, key, [&](const std::string& name) {
        RegKey subkey(registry);
        if (subkey.OpenForRead(key, name) == kOk)
            names.push_back(name);
    });
}

std::string TextUpToNul(const std::vector<std::uint8_t>& data) {
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return std::string(data.begin(), end);
}

OsResult QueryValueText(IRegistry& registry, RegHandle key, const std::string& name,
                        std::size_t bufferSize, std::string& text) {
    text.clear();
    std::vector<std::uint8_t> data;
    std::uint32_t type = 0;
    const OsResult result = registry.QueryValue(key, name, bufferSize, data, type);
    // An implementation might hand back more than asked for; never trust it past the buffer.
    if (result == kOk)
        text = TextUpToNul(data).substr(0, bufferSize);
    return result;
}

namespace {
// A value that keeps growing between its size and its read is given up on.
constexpr int kReadAttempts = 4;
}  // namespace

OsResult ReadStoredValue(IRegistry& registry, RegHandle key, const std::string& name,
                         StoredValue& value) {
    value = StoredValue{};
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::size_t size = 0;
        OsResult result = registry.QueryValueSize(key, name, size);
        if (result != kOk)
            return result;
        result = registry.QueryValue(key, name, size, value.data, value.type);
        if (result != kErrMoreData)
            return result;
    }
    return kErrMoreData;
}

std::string DescribeStoredValue(const StoredValue* value) {
    if (value == nullptr)
        return "(none)";
    if (value->type == kRegDword && value->data.size() == 4) {
        const std::uint32_t number = value->data[0] | (value->data[1] << 8) |
                                     (value->data[2] << 16) | (std::uint32_t{value->data[3]} << 24);
        return std::to_string(number);
    }
    if (value->type == kRegSz) {
        // Appended piece by piece: GCC 12 warns (-Wrestrict) on "\"" + text at -O3.
        std::string text(1, '"');
        text += TextUpToNul(value->data);
        text += '"';
        return text;
    }
    return "(type " + std::to_string(value->type) + ", " + std::to_string(value->data.size()) +
           " bytes)";
}

bool IsEmptyKey(IRegistry& registry, RegHandle key) {
    std::string name;
    return SubkeyCountOrZero(registry, key) == 0 &&
           registry.EnumValueName(key, 0, name) == kErrNoMoreItems;
}

OsResult ReadTextValue(IRegistry& registry, RegHandle key, const std::string& name,
                       std::u16string& text, std::uint32_t& type) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::size_t size = 0;
        OsResult result = registry.QueryTextSize(key, name, size);
        if (result != kOk)
            return result;
        result = registry.QueryText(key, name, size, text, type);
        if (result != kErrMoreData)
            return result;
    }
    return kErrMoreData;
}

}  // namespace vk
