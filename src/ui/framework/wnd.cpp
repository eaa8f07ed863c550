#include "ui/framework/wnd.h"

std::wstring CWnd::GetWindowTextWide() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        return {};
    }
    // Room for the terminating NUL that GetWindowTextW always writes.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}
