#include "acad/release_years.h"

#include <algorithm>

#include "core/mbcs.h"

int ReleaseSlotOfProductName(const vk::ICodePage& codePage, const std::string& productName,
                             int lastYear) {
    for (int year = kFirstReleaseYear; year <= std::min(lastYear, kLastReleaseYear); ++year) {
        // Only the first occurrence counts: a name that begins with the year
        // does not match it, even when the year comes again later.
        const std::size_t at = vk::FindText(codePage, productName, std::to_string(year));
        if (at != vk::kNoPos && at > 0)
            return year - kFirstReleaseYear;
    }
    return kNoReleaseSlot;
}
