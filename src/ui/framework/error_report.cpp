#include "ui/framework/error_report.h"

#include <exception>
#include <new>
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

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const CFrameworkException& error) {
        return SystemMessageText(error.m_hr);
    } catch (const std::bad_alloc&) {
        return SystemMessageText(E_OUTOFMEMORY);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return SystemMessageText(E_UNEXPECTED);
    }
}

}  // namespace

void AfxThrowInvalidArgException() {
    throw CFrameworkException{E_INVALIDARG};
}

void AfxReportCurrentException(HWND owner) noexcept {
    try {
        const std::string text = CurrentExceptionText();
        ::MessageBoxA(owner, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
}

int AfxMessageBox(const char* text, UINT type) {
    return ::MessageBoxA(::GetActiveWindow(), text, AfxGetAppName(), type);
}
