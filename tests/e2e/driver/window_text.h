#pragma once
// Reading another process's windows without ever blocking on it: every message is sent
// with a time limit, so a hung program fails a test instead of hanging it.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "e2e/driver/driver_error.h"

namespace vk::e2e {

inline constexpr UINT kSendTimeoutMs = 5000;

// The tests' text is GBK, as SetUp.exe's; windows are read and written in UTF-16
// converted with code page 936 named, so that the program under test may run at
// any code page (its windows are Unicode ones).
std::wstring wideOfGbk(std::string_view gbk);
std::string gbkOfWide(std::wstring_view wide);

// SendMessageTimeoutW; nothing when the target did not answer in time.
std::optional<LRESULT> trySend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT timeoutMs = kSendTimeoutMs);

// The window's text through WM_GETTEXT, of any length, as GBK; nothing when it did not
// answer.
std::optional<std::string> tryWindowText(HWND hwnd, UINT timeoutMs = kSendTimeoutMs);

std::string windowClass(HWND hwnd);

// The control id (GWLP_ID); dialog templates store -1 as 0xFFFF.
int windowId(HWND hwnd);

}  // namespace vk::e2e
