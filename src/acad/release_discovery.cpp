// Discovery: the release keys of both registry views, searched for products.
#include <cstddef>

#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "acad/release_years.h"
#include "core/reg_key.h"

namespace {

// Both views are reached by explicit paths from this 64-bit program, with no view flag.
constexpr char kNativeAutocadKey[] = "SOFTWARE\\Autodesk\\AutoCAD";
constexpr char kWow6432AutocadKey[] = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD";

// The 32-bit view is searched for the releases 2007 to 2009 only.
constexpr int kLastWow6432Year = 2009;

}  // namespace

void CAcadReleaseCatalog::DiscoverReleases() {
    ScanWow6432Releases();  // 32-bit products come first in every slot
    ScanReleaseKeys(kNativeAutocadKey, kLastReleaseYear);
}

void CAcadReleaseCatalog::ScanWow6432Releases() {
    ScanReleaseKeys(kWow6432AutocadKey, kLastWow6432Year);
}

void CAcadReleaseCatalog::ScanReleaseKeys(const std::string& autocadKeyPath, int lastYear) {
    vk::IRegistry& registry = m_services.registry;
    vk::RegKey root(registry);
    if (root.OpenRoot(vk::RegRoot::LocalMachine) != vk::kOk)
        return;
    vk::RegKey autocad(registry);
    if (autocad.OpenForRead(root.Get(), autocadKeyPath) != vk::kOk)
        return;

    vk::ForEachSubkeyName(registry, autocad.Get(), [&](const std::string& releaseName) {
        vk::RegKey release(registry);
        if (release.OpenForRead(autocad.Get(), releaseName) != vk::kOk)
            return;
        RecordProducts(release.Get(), autocadKeyPath + "\\" + releaseName + "\\", lastYear);
    });
}

void CAcadReleaseCatalog::RecordProducts(vk::RegHandle releaseKey, const std::string& prefix,
                                         int lastYear) {
    SearchReleaseKey(releaseKey, prefix, "AcadLocation");
    const CStringList locationKeys = m_arrFoundKeys;
    const CStringList locationTexts = m_arrFoundValues;
    SearchReleaseKey(releaseKey, prefix, "ProductName");
    const CStringList nameKeys = m_arrFoundKeys;
    const CStringList nameTexts = m_arrFoundValues;

    // A product is a key that carries both values: pair the two searches by key path.
    for (std::size_t j = 0; j < locationKeys.size(); ++j) {
        for (std::size_t k = 0; k < nameKeys.size(); ++k) {
            if (locationKeys[j] != nameKeys[k])
                continue;
            const int slot = ReleaseSlotOfProductName(m_services.codePage, nameTexts[k], lastYear);
            if (slot == kNoReleaseSlot)
                continue;
            m_arrProductKeys[slot].push_back(locationKeys[j]);
            m_arrAcadLocations[slot].push_back(locationTexts[j]);
        }
    }
}

void CAcadReleaseCatalog::SearchReleaseKey(vk::RegHandle releaseKey, const std::string& prefix,
                                           const std::string& valueName) {
    m_arrFoundKeys.clear();
    m_arrFoundValues.clear();
    m_strSearchValue = valueName;
    SearchValueKeys(releaseKey, "", "", prefix);
}
