#pragma once
// Questions and messages to the user: MessageBox, texts in code page 936.
#include <cstdint>
#include <string>

namespace vk {

// An owner window, opaque to the core; 0 means none.
using WindowRef = std::uintptr_t;

// MessageBox types and answers (the Win32 MB_* and ID* numbers).
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbAbortRetryIgnore = 0x02;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbRetryCancel = 0x05;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class IPrompts {
public:
    virtual ~IPrompts() = default;
    // The window that owns the setup's messages: the framework's main-window
    // query (the active window while a page is open), or 0.
    virtual WindowRef MainWindow() = 0;
    // MessageBoxA(owner, text, caption, type): the button the user pressed.
    virtual int MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                           unsigned type) = 0;
};

}  // namespace vk
