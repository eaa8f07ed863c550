#include "e2e/driver/window_text.h"

#include <cwchar>

namespace vk::e2e {

std::wstring wideOfGbk(std::string_view gbk) {
    const int length =
        MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
    return wide;
}

std::string gbkOfWide(std::wstring_view wide) {
    const int length = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), length,
                        nullptr, nullptr);
    return gbk;
}

std::optional<LRESULT> trySend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT timeoutMs) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result) ==
        0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::optional<std::string> tryWindowText(HWND hwnd, UINT timeoutMs) {
    std::optional<LRESULT> length = trySend(hwnd, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
    if (!length)
        return std::nullopt;
    // One unit more than needed: a full buffer then means the text grew meanwhile, so retry.
    for (size_t room = static_cast<size_t>(*length) + 2;; room *= 2) {
        std::wstring buffer(room, L'\0');
        const std::optional<LRESULT> copied =
            trySend(hwnd, WM_GETTEXT, room, reinterpret_cast<LPARAM>(buffer.data()), timeoutMs);
        if (!copied)
            return std::nullopt;
        const size_t used = wcsnlen(buffer.data(), room);
        if (used + 1 < room || room > (64u << 20)) {
            buffer.resize(used);
            return gbkOfWide(buffer);
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
