#pragma once
// What discovery found, for the log, and which years the setup offers.
#include <vector>

#include "acad/release_catalog.h"
#include "platform/services.h"

namespace vk {

// One line per product found: year, product name, folder and key.
void LogReleasesFound(const Services& services, const CAcadReleaseCatalog& catalog);

// The years the release page offers on this machine, in year order.
std::vector<int> OfferedYears(const CAcadReleaseCatalog& catalog);

}  // namespace vk
