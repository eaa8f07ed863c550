#pragma once
// The framework's own messages: an error a handler reports, and message boxes
// captioned with the application's name.
#include "platform/win32/windows_api.h"

// An error that stops a handler (E_INVALIDARG, say): a message box with the
// stop icon, the system's text for `hr` and the application's name, owned by
// `owner`. The handler returns after it (the program has no exceptions).
void AfxReportError(HWND owner, HRESULT hr);

// MessageBoxA captioned with the application's name, owned by the thread's
// active window (the framework's main-window query: normally the open page).
int AfxMessageBox(const char* text, UINT type = MB_OK);
