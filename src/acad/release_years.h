#pragma once
// Which release slot a product belongs to, told by the year in its name.
#include <string>

#include "acad/release_catalog.h"
#include "platform/codepage.h"

inline constexpr int kNoReleaseSlot = -1;

// Tests the years 2007 to `lastYear` in ascending order: a year matches when
// its first occurrence in `productName` (searched character by character in
// the code page) stands past the name's beginning. Gives the slot (year -
// 2007) of the first matching year, or kNoReleaseSlot.
int ReleaseSlotOfProductName(const vk::ICodePage& codePage, const std::string& productName,
                             int lastYear);
