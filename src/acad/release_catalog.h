#pragma once
// The release catalogue: for each AutoCAD release year of the release table
// (slot = year - 2007), every installed product found at start-up, with its
// installation folder and the path of its product key below
// HKEY_LOCAL_MACHINE. It also carries the install folder chosen on the install
// page and the registration and support-file operations that walk its lists.
#include <array>
#include <string>
#include <vector>

#include "acad/release_table.h"
#include "platform/registry.h"
#include "platform/services.h"

using CStringList = std::vector<std::string>;

namespace vk {
class RecordWriter;
}

class CAcadReleaseCatalog {
public:
    explicit CAcadReleaseCatalog(const vk::Services& services);

    // Discovery: fills the slot lists from the registry. Called once, at start-up.
    void DiscoverReleases();
    void ScanWow6432Releases();
    void SearchValueKeys(vk::RegHandle parentKey, const std::string& subKeyName,
                         std::string relativePath, std::string prefix);

    // Demand-load registration for each selected year (flags: 2007 first), then
    // trusted-path registration once.
    void RegisterSelectedReleases(const int selected[kReleaseSlots]);
    void RegisterDemandLoad(unsigned year);
    void RegisterTrustedPaths();

    // The add-in's fonts (and, for 2008, its plotter file) into every
    // installation folder of every selected year.
    void CopySelectedSupportFiles(const int selected[kReleaseSlots]);
    void CopySupportFiles(const std::string& acadLocation, bool bWithDriver);

    const vk::Services& Services() const { return m_services; }

    // While an installation runs, the record that every change goes into
    // before it is made (null: nothing is recorded). Not owned.
    vk::RecordWriter* m_pRecord = nullptr;

    std::string m_strInstallDir;
    std::array<CStringList, kReleaseSlots> m_arrAcadLocations;
    std::array<CStringList, kReleaseSlots> m_arrProductKeys;
    std::string m_strSearchValue;
    CStringList m_arrFoundKeys;
    CStringList m_arrFoundValues;

private:
    // One pass of discovery over the release keys below `autocadKeyPath`
    // (below HKEY_LOCAL_MACHINE); product names are classified by the years
    // 2007 to `lastYear`.
    void ScanReleaseKeys(const std::string& autocadKeyPath, int lastYear);
    // The location and name searches of one open release key, then the pairing.
    void RecordProducts(vk::RegHandle releaseKey, const std::string& prefix, int lastYear);
    // SearchValueKeys from `releaseKey` itself for `valueName`, on emptied scratch lists.
    void SearchReleaseKey(vk::RegHandle releaseKey, const std::string& prefix,
                          const std::string& valueName);

    vk::Services m_services;
};
