#include "ui/framework/error_report.h"

#include <string>

#include "ui/framework/win_app.h"

namespace {

// The system's own text for `hr` in the ANSI code page.
std::string SystemMessageText(HRESULT hr) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : "";
    if (buffer != nullptr) {
        ::LocalFree(buffer);
    }
    return text;
}

}  // namespace

void AfxReportError(HWND owner, HRESULT hr) {
    const std::string text = SystemMessageText(hr);
    ::MessageBoxA(owner, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONSTOP);
}

int AfxMessageBox(const char* text, UINT type) {
    return ::MessageBoxA(::GetActiveWindow(), text, AfxGetAppName(), type);
}
