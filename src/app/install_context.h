#pragma once
// What the wizard carries between its pages, which are built afresh on every
// visit: the user's choices, the warning state, and the constants of the
// version line. Process-wide values that live from static construction to exit.
#include <string>

#include "acad/release_table.h"
#include "varnok_version.h"

// One per row of the release table, slot = year - 2007 (the catalogue's slots too).
inline constexpr int kSelectableReleaseCount = kReleaseSlots;

// The install folder as last left in the edit box of the install page, without
// the product subfolder. Constructed before every other static object of the
// program and destroyed after them (see install_context.cpp).
extern std::string g_strInstallFolder;
// Index in the agreement page's radio group: 0 = "不同意", 1 = "同意".
extern int g_nAgreeChoice;
// Per release slot: nonzero when the user wants the add-in for that year.
extern int g_bReleaseSelected[kSelectableReleaseCount];
// While true, the install button first checks for a running AutoCAD.
extern bool g_bWarnAcadRunning;

// Product version, major * 10000 + minor * 100 + patch (the build's version,
// varnok_version.h), and platform width.
inline constexpr int g_nProductVersion =
    VK_VERSION_MAJOR * 10000 + VK_VERSION_MINOR * 100 + VK_VERSION_PATCH;
static_assert(VK_VERSION_MINOR < 100 && VK_VERSION_PATCH < 100, "two digits each in the number");
inline constexpr int g_nPlatformBits = 64;

// The header's version line for any version and width, e.g.
// "Varnok批打印软件 V2023.5.26 (64位版本)" (parts without leading zeros).
std::string FormatVersionLine(int productVersion, int platformBits);
// The version line of this build: FormatVersionLine(g_nProductVersion, g_nPlatformBits).
std::string VersionLine();
// The version alone, as Apps & Features shows it: "2023.5.26".
std::string VersionNumber();
