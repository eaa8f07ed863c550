#include "e2e/driver/window_text.h"

#include <cstring>

namespace vk::e2e {

std::optional<LRESULT> trySend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT timeoutMs) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result) ==
        0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::optional<std::string> tryWindowText(HWND hwnd, UINT timeoutMs) {
    std::optional<LRESULT> length = trySend(hwnd, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
    if (!length)
        return std::nullopt;
    // One byte more than needed: a full buffer then means the text grew meanwhile, so retry.
    for (size_t room = static_cast<size_t>(*length) + 2;; room *= 2) {
        std::string buffer(room, '\0');
        const std::optional<LRESULT> copied =
            trySend(hwnd, WM_GETTEXT, room, reinterpret_cast<LPARAM>(buffer.data()), timeoutMs);
        if (!copied)
            return std::nullopt;
        const size_t used = strnlen(buffer.data(), room);
        if (used + 1 < room || room > (64u << 20)) {
            buffer.resize(used);
            return buffer;
        }
    }
}

std::string windowClass(HWND hwnd) {
    // Class names are at most 256 characters.
    char name[257] = {};
    const int length = GetClassNameA(hwnd, name, static_cast<int>(sizeof name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

int windowId(HWND hwnd) {
    return static_cast<int>(GetWindowLongPtrA(hwnd, GWLP_ID));
}

}  // namespace vk::e2e
