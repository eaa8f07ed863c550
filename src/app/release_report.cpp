#include "app/release_report.h"

#include "acad/registry_access.h"
#include "app/install_context.h"
#include "core/mbcs.h"
#include "core/reg_key.h"
#include "engine/release_offer.h"

namespace vk {
namespace {

// The product's "ProductName", which the catalogue does not keep.
std::string ProductName(const Services& services, const std::string& productKey) {
    RegKey machine(services.registry);
    RegKey product(services.registry);
    StoredValue value;
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        product.OpenForRead(machine.Get(),
                            WithoutTrailingBackslash(services.codePage, productKey)) != kOk ||
        ReadStoredValue(services.registry, product.Get(), "ProductName", value) != kOk) {
        return "(no name)";
    }
    return TextUpToNul(value.data);
}

}  // namespace

void LogReleasesFound(const Services& services, const CAcadReleaseCatalog& catalog) {
    bool any = false;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        const CStringList& keys = catalog.m_arrProductKeys[slot];
        for (std::size_t i = 0; i < keys.size(); ++i) {
            any = true;
            services.log.Info("Found AutoCAD " + std::to_string(kFirstReleaseYear + slot) + ": \"" +
                              ProductName(services, keys[i]) + "\" in " +
                              catalog.m_arrAcadLocations[slot][i] + ", key HKLM\\" + keys[i]);
        }
    }
    if (!any)
        services.log.Info("Found no AutoCAD release of " + std::to_string(kFirstReleaseYear) +
                          " to " + std::to_string(kLastReleaseYear));
}

std::vector<int> OfferedYears(const Services& services, const CAcadReleaseCatalog& catalog) {
    std::vector<int> years;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (OfferOfRelease(services, catalog, slot, g_nPlatformBits) == ReleaseOffer::Offered)
            years.push_back(kFirstReleaseYear + slot);
    }
    return years;
}

}  // namespace vk
