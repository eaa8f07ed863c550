#include "platform/win32/win32_prompts.h"

#include "platform/win32/windows_api.h"

namespace vk::win32 {

WindowRef Win32Prompts::MainWindow() {
    return reinterpret_cast<WindowRef>(GetActiveWindow());
}

int Win32Prompts::MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                             unsigned type) {
    return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), type);
}

}  // namespace vk::win32
