#include "ui/page_harness.h"

namespace vk::test {

std::string TextOf(HWND page, int id) {
    const HWND control = ::GetDlgItem(page, id);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(control, text.data(), length + 1)));
    return text;
}

void SetText(HWND page, int id, const std::string& text) {
    ::SetWindowTextA(::GetDlgItem(page, id), text.c_str());
}

}  // namespace vk::test
