#include "platform/win32/file_log.h"

#include "core/decimal.h"
#include "platform/win32/ansi_conversion.h"
#include "platform/win32/windows_api.h"

// After <windows.h>.
#include <sddl.h>

namespace vk::win32 {
namespace {

// A dated log of the same day gets the next free number; after this many the
// folder is given up on rather than searched for ever.
constexpr int kMaxLogsPerDay = 9999;

// A log file the setup creates: full control for SYSTEM and Administrators,
// read for Users, nothing inherited from the folder it is in.
constexpr const char* kLogFileSddl = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;BU)";

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

std::string FileLog::RefusalText(OsResult result) {
    switch (result) {
        case kRefusedLink:
            return "it is a symbolic link, junction or other reparse point";
        case kRefusedFolder:
            return "it is a folder";
        case kRefusedHardLinks:
            return "the file has more than one name (hard links)";
        default:
            return {};
    }
}

OsResult FileLog::OpenChecked(const std::string& path, unsigned long disposition, bool empty,
                              bool userOwn) {
    // Administrators and SYSTEM write it, Users read it; the owner is whoever
    // runs the setup (an elevated administrator's token names Administrators).
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!userOwn && !ConvertStringSecurityDescriptorToSecurityDescriptorA(
                        kLogFileSddl, SDDL_REVISION_1, &descriptor, nullptr)) {
        return static_cast<OsResult>(GetLastError());
    }
    const UniqueLocal ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    // The name itself, not what a link there points to; a folder opens too
    // (backup semantics), so that it is told apart and refused.
    UniqueFile checked(CreateFileA(
        path.c_str(), FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE, userOwn ? nullptr : &security, disposition,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
    if (!checked)
        return static_cast<OsResult>(GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(checked.Get(), &info))
        return static_cast<OsResult>(GetLastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return kRefusedLink;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return kRefusedFolder;
    // Another name of the same file may sit where a standard user chose.
    if (info.nNumberOfLinks > 1)
        return kRefusedHardLinks;
    if (empty && !SetEndOfFile(checked.Get()))
        return static_cast<OsResult>(GetLastError());
    const bool startsEmpty = empty || (info.nFileSizeHigh == 0 && info.nFileSizeLow == 0);
    // Written only at its end, as another process that opens it to append
    // (the uninstaller's copy) does too. Reopened from the handle, not the
    // name, so it is the file just checked.
    UniqueFile appending(
        ReOpenFile(checked.Get(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, 0));
    if (!appending)
        return static_cast<OsResult>(GetLastError());
    file_ = std::move(appending);
    path_ = path;
    // UTF-8 with a byte-order mark, as Inno Setup's log: older viewers take
    // the Chinese paths for the system's code page otherwise.
    if (startsEmpty) {
        DWORD written = 0;
        WriteFile(file_.Get(), "\xEF\xBB\xBF", 3, &written, nullptr);
    }
    return kOk;
}

OsResult FileLog::Open(const std::string& path, bool userOwn) {
    return OpenChecked(path, OPEN_ALWAYS, true, userOwn);
}

OsResult FileLog::OpenToAppend(const std::string& path) {
    return OpenChecked(path, OPEN_ALWAYS, false, false);
}

OsResult FileLog::OpenDated(const std::string& folder) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string base = folder + "\\Varnok Setup Log " + Stamp(now, false) + " #";
    for (int number = 1; number <= kMaxLogsPerDay; ++number) {
        const OsResult result =
            OpenChecked(base + PaddedDecimal(number, 3) + ".txt", CREATE_NEW, false, false);
        if (result != ERROR_FILE_EXISTS && result != ERROR_ALREADY_EXISTS)
            return result;
    }
    return ERROR_FILE_EXISTS;
}

void FileLog::WriteLine(const std::string& line) {
    std::wstring wide;
    if (ToWide(line, wide) != kOk)
        wide = L"(a line that is not text of the system's code page)";
    WriteWideLine(std::u16string(wide.begin(), wide.end()));
}

void FileLog::WriteWideLine(const std::u16string& line) {
    if (!file_)
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string stamp = Stamp(now, true) + "  ";
    // One line per entry: a message's line breaks become blanks.
    std::wstring flat(stamp.begin(), stamp.end());
    for (const char16_t c : line) {
        if (c == u'\r' || c == u'\n') {
            if (flat.back() != L' ')
                flat += L' ';
            continue;
        }
        flat += static_cast<wchar_t>(c);
    }
    flat += L"\r\n";
    Write(flat);
}

void FileLog::Write(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return;
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    DWORD written = 0;
    // A log that cannot be written must not stop the installation.
    WriteFile(file_.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::string FileLog::ErrorText(OsResult error) {
    // In English where Windows has it (an administrator reads the log from
    // afar), else in the system's language.
    std::string text;
    for (const DWORD language :
         {static_cast<DWORD>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), DWORD{0}}) {
        char* buffer = nullptr;
        const DWORD length =
            FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(error), language,
                           reinterpret_cast<char*>(&buffer), 0, nullptr);
        const UniqueLocal owned(buffer);
        if (length != 0 && buffer != nullptr) {
            text.assign(buffer, length);
            break;
        }
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return "error " + std::to_string(error) + (text.empty() ? "" : ": " + text);
}

}  // namespace vk::win32
