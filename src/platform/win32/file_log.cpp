#include "platform/win32/file_log.h"

#include "core/decimal.h"
#include "platform/win32/ansi_conversion.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

// A dated log of the same day gets the next free number; after this many the
// folder is given up on rather than searched for ever.
constexpr int kMaxLogsPerDay = 9999;

std::string Stamp(const SYSTEMTIME& time, bool withClock) {
    std::string text = PaddedDecimal(time.wYear, 4) + "-" + PaddedDecimal(time.wMonth, 2) + "-" +
                       PaddedDecimal(time.wDay, 2);
    if (withClock) {
        text += " " + PaddedDecimal(time.wHour, 2) + ":" + PaddedDecimal(time.wMinute, 2) + ":" +
                PaddedDecimal(time.wSecond, 2) + "." + PaddedDecimal(time.wMilliseconds, 3);
    }
    return text;
}

}  // namespace

std::string AnsiToUtf8(const std::string& text) {
    std::wstring wide;
    if (ToWide(text, wide) != kOk || wide.empty())
        return text.empty() ? std::string() : "?";
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return "?";
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

OsResult FileLog::Create(const std::string& path, unsigned long access, unsigned long disposition) {
    // Shared for writing too: the uninstaller and its copy write one log.
    UniqueFile file(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return static_cast<OsResult>(GetLastError());
    file_ = std::move(file);
    path_ = path;
    return kOk;
}

OsResult FileLog::Open(const std::string& path) {
    // Emptied first, then written only at its end, as another process that
    // opens it to append (the uninstaller's copy) does too.
    if (const OsResult emptied = Create(path, GENERIC_WRITE, CREATE_ALWAYS); emptied != kOk)
        return emptied;
    file_.Reset();
    return Create(path, FILE_APPEND_DATA, OPEN_EXISTING);
}

OsResult FileLog::OpenToAppend(const std::string& path) {
    return Create(path, FILE_APPEND_DATA, OPEN_ALWAYS);
}

OsResult FileLog::OpenDated(const std::string& folder) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string base = folder + "\\Varnok Setup Log " + Stamp(now, false) + " #";
    for (int number = 1; number <= kMaxLogsPerDay; ++number) {
        const OsResult result =
            Create(base + PaddedDecimal(number, 3) + ".txt", FILE_APPEND_DATA, CREATE_NEW);
        if (result != ERROR_FILE_EXISTS && result != ERROR_ALREADY_EXISTS)
            return result;
    }
    return ERROR_FILE_EXISTS;
}

void FileLog::WriteLine(const std::string& line) {
    if (!file_)
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    // One line per entry: a message's line breaks become blanks. (No trail
    // byte of a double-byte character is a line break.)
    std::string flat;
    for (const char c : line) {
        if (c == '\r' || c == '\n') {
            if (!flat.empty() && flat.back() != ' ')
                flat += ' ';
            continue;
        }
        flat += c;
    }
    const std::string text = Stamp(now, true) + "  " + AnsiToUtf8(flat) + "\r\n";
    DWORD written = 0;
    // A log that cannot be written must not stop the installation.
    WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string FileLog::ErrorText(OsResult error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length) : "";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return "error " + std::to_string(error) + (text.empty() ? "" : ": " + text);
}

}  // namespace vk::win32
