#include "ui/framework/error_report.h"

#include <string>

#include "platform/win32/gbk_text.h"
#include "ui/framework/win_app.h"

namespace {

// The system's own text for `hr`, in the system's language.
std::wstring SystemMessageText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
    if (buffer != nullptr) {
        ::LocalFree(buffer);
    }
    return text;
}

}  // namespace

void AfxReportError(HWND owner, HRESULT hr) {
    const std::wstring text = SystemMessageText(hr);
    ::MessageBoxW(owner, text.c_str(), vk::win32::Wide(AfxGetAppName()).c_str(),
                  MB_OK | MB_ICONSTOP);
}

int AfxMessageBox(const char* text, UINT type) {
    return ::MessageBoxW(::GetActiveWindow(), vk::win32::Wide(text).c_str(),
                         vk::win32::Wide(AfxGetAppName()).c_str(), type);
}
