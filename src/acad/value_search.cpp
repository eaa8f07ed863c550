// The depth-first search for keys that carry the value m_strSearchValue.
#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "core/reg_key.h"

void CAcadReleaseCatalog::SearchValueKeys(vk::RegHandle parentKey, const std::string& subKeyName,
                                          std::string relativePath, std::string prefix) {
    vk::IRegistry& registry = m_services.registry;
    vk::RegKey key(registry);
    if (key.OpenForRead(parentKey, subKeyName) != vk::kOk)
        return;

    std::string text;
    // Text that fills the whole buffer leaves no room for its NUL: it does
    // not fit, as data larger than the buffer do not.
    if (vk::QueryValueText(registry, key.Get(), m_strSearchValue, vk::kDiscoveryValueBuffer,
                           text) == vk::kOk &&
        text.size() < vk::kDiscoveryValueBuffer) {
        // A key that carries the value is a product key: its subkeys are not searched.
        m_arrFoundKeys.push_back(prefix + relativePath);
        m_arrFoundValues.push_back(text);
        return;
    }
    // Absent, or too large for the buffer: look further down.
    vk::ForEachSubkeyName(registry, key.Get(), [&](const std::string& name) {
        SearchValueKeys(key.Get(), name, relativePath + name + "\\", prefix);
    });
}
