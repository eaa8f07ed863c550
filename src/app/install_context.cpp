#include "app/install_context.h"

// Constructed before any other static object: constinit makes it constant
// initialisation, which C++ performs before all dynamic initialisation (theApp,
// theCatalog). Its destructor, though, is registered at run time by this
// translation unit, whose turn among the others C++ leaves open; priority 101
// registers it ahead of every object of default priority, so it is destroyed
// after them (GCC: priorities run before default ones, exit runs in reverse).
constinit std::string g_strInstallFolder __attribute__((init_priority(101))) = "C:\\Varnok";

int g_nAgreeChoice = 1;
// Every release starts selected, so the first visit of page 2 checks all it offers.
int g_bReleaseSelected[kSelectableReleaseCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                   1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
static_assert(kSelectableReleaseCount == 21, "one initial 1 above per release slot");
bool g_bWarnAcadRunning = true;

std::string FormatVersionLine(int productVersion, int platformBits) {
    // "Varnok批打印软件 V%d.%d.%d (%d位版本)", the parts as plain decimals.
    return "Varnok批打印软件 V" + std::to_string(productVersion / 10000) + "." +
           std::to_string(productVersion % 10000 / 100) + "." +
           std::to_string(productVersion % 100) + " (" + std::to_string(platformBits) + "位版本)";
}

std::string VersionNumber() {
    return std::to_string(g_nProductVersion / 10000) + "." +
           std::to_string(g_nProductVersion % 10000 / 100) + "." +
           std::to_string(g_nProductVersion % 100);
}

std::string VersionLine() {
    return FormatVersionLine(g_nProductVersion, g_nPlatformBits);
}
