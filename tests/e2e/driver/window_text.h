#pragma once
// Reading another process's windows without ever blocking on it: every message is sent
// with a time limit, so a hung program fails a test instead of hanging it.
#include <windows.h>

#include <optional>
#include <string>

#include "e2e/driver/driver_error.h"

namespace vk::e2e {

inline constexpr UINT kSendTimeoutMs = 5000;

// SendMessageTimeoutA; nothing when the target did not answer in time.
std::optional<LRESULT> trySend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT timeoutMs = kSendTimeoutMs);

// The window's text through WM_GETTEXT, of any length; nothing when it did not answer.
std::optional<std::string> tryWindowText(HWND hwnd, UINT timeoutMs = kSendTimeoutMs);

std::string windowClass(HWND hwnd);

// The control id (GWLP_ID); dialog templates store -1 as 0xFFFF.
int windowId(HWND hwnd);

}  // namespace vk::e2e
