#pragma once
// What was on screen, for failure messages: the process's top-level windows and, for the
// visible ones, every control with its id, class, text and states.
#include <windows.h>

#include <string>
#include <vector>

namespace vk::e2e {

// The process's top-level windows (owned popups such as message boxes included), front first.
std::vector<HWND> topLevelWindows(DWORD processId);

// A report in UTF-8, one line per window and per control.
std::string describeProcessWindows(DWORD processId);

}  // namespace vk::e2e
