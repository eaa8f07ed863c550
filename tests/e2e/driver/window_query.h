#pragma once
// Which window a test waits for: a visible top-level window of the process with a class,
// an exact caption and, to tell pages of one caption apart, controls it has or lacks.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "e2e/driver/window.h"

namespace vk::e2e {

struct WindowQuery {
    std::string description;  // for reports, UTF-8: "page 1", "the running-AutoCAD warning"
    std::string caption;      // exact, in the ANSI code page
    std::string className = "#32770";
    std::vector<int> withControls;
    std::vector<int> withoutControls;
};

// A message box of the process with that caption: a dialog with the message text static.
WindowQuery messageBoxQuery(std::string caption);

bool matches(HWND hwnd, const WindowQuery& query);

// The frontmost matching window, if any.
std::optional<Window> findWindow(DWORD processId, const WindowQuery& query);

// The query in words, UTF-8.
std::string describeQuery(const WindowQuery& query);

}  // namespace vk::e2e
