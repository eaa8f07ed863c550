#pragma once
// The agreement's fixed text, one string per screen, kept as UTF-8 resources
// so that translators edit plain files.
#include <string>

inline constexpr int kAgreementScreenCount = 4;

// Screen `screen` (0 to 3) in the system's ANSI code page; empty when the
// resource is missing or cannot be converted.
std::string LoadAgreementScreen(int screen);
