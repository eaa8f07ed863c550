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

}  // namespace vk
