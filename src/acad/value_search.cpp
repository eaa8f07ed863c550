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
    if (vk::QueryValueText(registry, key.Get(), m_strSearchValue, vk::kDiscoveryValueBuffer,
                           text) == vk::kOk) {
        // A key that carries the value is a product key: its subkeys are not searched.
        m_arrFoundKeys.push_back(prefix + relativePath);
        m_arrFoundValues.push_back(text);
        return;
    }
    // Absent, or larger than the buffer: look further down.
    vk::ForEachSubkeyName(registry, key.Get(), [&](const std::string& name) {
        SearchValueKeys(key.Get(), name, relativePath + name + "\\", prefix);
    });
}
