#include "platform/win32/win32_prompts.h"

#include "platform/win32/gbk_text.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {

WindowRef Win32Prompts::MainWindow() {
    return reinterpret_cast<WindowRef>(GetActiveWindow());
}

int Win32Prompts::MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                             unsigned type) {
    return MessageBoxW(reinterpret_cast<HWND>(owner), Wide(text).c_str(), Wide(caption).c_str(),
                       type);
}

}  // namespace vk::win32
