#pragma once
// Which releases the setup offers. A release is offered when discovery found a
// product of its year, this build serves the year, and, for a module family
// that the release table marks so, the package's Data folder holds the module.
// Page 2 and the unattended command line both decide here.
#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "platform/services.h"

namespace vk {

enum class ReleaseOffer {
    NotFound,        // no product of the year on this machine
    NotInThisBuild,  // a 32-bit build serves 2016 and earlier only
    NoModule,        // found, but Data lacks the module the year needs
    Offered,
};

// Whether a build of `platformBits` serves the release of `slot` at all.
bool BuildServesRelease(int slot, int platformBits);

// What becomes of the release of `slot` on this machine with this package.
ReleaseOffer OfferOfRelease(const Services& services, const CAcadReleaseCatalog& catalog, int slot,
                            int platformBits);

// The years, in year order, whose release was found and this build serves
// but whose module Data lacks.
std::vector<int> ReleasesFoundWithoutModule(const Services& services,
                                            const CAcadReleaseCatalog& catalog, int platformBits);

// Page 2's line naming those years and the modules they lack; it also says
// why nothing can be installed when `nothingOffered`. Empty when `years` is.
std::string UnservedReleasesText(const std::vector<int>& years, bool nothingOffered);

}  // namespace vk
