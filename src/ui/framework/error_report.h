#pragma once
// The framework's own messages: errors that reach a callback boundary, and
// message boxes captioned with the application's name.
#include "platform/win32/windows_api.h"

// An error raised inside a handler and reported by the framework (HRESULT).
struct CFrameworkException {
    HRESULT m_hr;
};

// Raises E_INVALIDARG, reported with the system's text for it.
[[noreturn]] void AfxThrowInvalidArgException();

// Inside a catch block: a message box with the stop icon, the error's text
// and the application's name, owned by `owner`. Never throws.
void AfxReportCurrentException(HWND owner) noexcept;

// MessageBoxA captioned with the application's name, owned by the thread's
// active window (the framework's main-window query: normally the open page).
int AfxMessageBox(const char* text, UINT type = MB_OK);
