#pragma once
// What the end-to-end tests know of SetUp.exe's windows: captions, control ids, and how
// each of the four pages (one caption for all) is told apart by its controls.
#include <windows.h>

#include <string>

#include "e2e/driver/window_query.h"

namespace vk::e2e::setup {

inline constexpr const char* kPageCaption = "Varnok批打印软件安装";
inline constexpr const char* kMessageCaption = "Varnok软件安装";

// Shared by the pages.
inline constexpr int kBack = 1005;  // "上一步"; disabled on page 1, absent on page 4
inline constexpr int kVersionLine = 1011;
inline constexpr int kVersionLinePage3 = 1013;

// Page 1, the agreement.
inline constexpr int kDisagree = 1008;
inline constexpr int kAgree = 1009;
inline constexpr int kAgreement = 1013;
inline constexpr int kPreviousScreen = 1014;
inline constexpr int kNextScreen = 1015;

// Page 3, the install folder.
inline constexpr int kFolder = 1000;
inline constexpr int kBrowse = 1001;
inline constexpr int kProgress = 1003;

inline constexpr int kFirstYear = 2007;
inline constexpr int kLastYear = 2027;

// The check box of a release year on page 2 (2010 and 2011 have swapped ids).
int releaseBox(int year);
// Page 2's line on the releases found that the package cannot serve.
inline constexpr int kUnservedReleases = 1044;

WindowQuery page1();
WindowQuery page2();
WindowQuery page3();
WindowQuery page4();

// SetUp.exe as the build made it, beside this test program; or the copy that the
// environment variable VARNOK_SETUP_EXE names (the signing round trip's signed one).
std::string setupProgram();

// The sample Data folder of the test fixtures.
std::string sampleDataFolder();

}  // namespace vk::e2e::setup
