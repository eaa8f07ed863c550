#pragma once
// Message boxes through USER32, owned by the thread's active window.
#include "platform/prompts.h"

namespace vk::win32 {

class Win32Prompts : public IPrompts {
public:
    // The setup never names a main window, so the framework's main-window
    // query answers with the thread's active window (0 when none is open).
    WindowRef MainWindow() override;
    int MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                   unsigned type) override;
};

}  // namespace vk::win32
