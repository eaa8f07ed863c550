#pragma once
// What discovery found, for the log, and which years the setup offers.
#include <vector>

#include "acad/release_catalog.h"
#include "platform/services.h"

namespace vk {

// One line per product found: year, product name, folder and key.
void LogReleasesFound(const Services& services, const CAcadReleaseCatalog& catalog);

// The years the release page offers on this machine with this package, in
// year order (the rule of release_offer.h).
std::vector<int> OfferedYears(const Services& services, const CAcadReleaseCatalog& catalog);

}  // namespace vk
