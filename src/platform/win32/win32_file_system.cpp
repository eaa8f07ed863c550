#include "platform/win32/win32_file_system.h"

// <windows.h> before the headers that build on it.
#include "platform/win32/windows_api.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/ansi_conversion.h"
#include "platform/win32/unique_handle.h"

namespace vk::win32 {
namespace {

bool TooLong(const std::string& path) {
    return path.size() > kMaxPath - 1;
}

// Files are read and copied in pieces of this size.
constexpr DWORD kPiece = 1 << 16;
// ReadWholeFile holds a file in memory: none the setup reads whole (its record, a
// choices file) comes near this; a larger one is refused rather than filling memory.
constexpr std::size_t kMaxWholeFile = std::size_t{64} << 20;

OsResult LastError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<OsResult>(error) : kErrInvalidParameter;
}

OsResult Succeeded(BOOL ok) {
    return ok ? kOk : LastError();
}

FindHandle ToFindHandle(HANDLE find) {
    return reinterpret_cast<FindHandle>(find);
}
HANDLE ToHandle(FindHandle find) {
    return reinterpret_cast<HANDLE>(find);
}

FindEntry ToEntry(const WIN32_FIND_DATAA& data) {
    // cFileName is NUL-terminated by the system; strnlen guards the array's end anyway.
    // dwReserved0 holds the reparse tag only when the entry is a reparse point.
    const bool reparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return FindEntry{std::string(data.cFileName, strnlen(data.cFileName, sizeof data.cFileName)),
                     data.dwFileAttributes, reparsePoint ? data.dwReserved0 : 0};
}

// Calls `fill(buffer, capacity)`, which answers like the functions that
// report the size they need (GetEnvironmentVariable, GetCurrentDirectoryA):
// the text's length when it fit, the needed size with its NUL when it did not,
// 0 on failure. The buffer grows until the text fits.
template <typename Char, typename Fill>
OsResult ReadGrowing(std::basic_string<Char>& text, Fill fill) {
    text.clear();
    std::vector<Char> buffer(kMaxPath);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return static_cast<OsResult>(GetLastError());  // ERROR_SUCCESS: an empty text
        }
        if (length < buffer.size()) {
            text.assign(buffer.data(), length);
            return kOk;
        }
        buffer.resize(length);  // the text may grow between two calls: ask again
    }
}

}  // namespace

OsResult Win32FileSystem::GetModulePath(std::string& path) {
    path.clear();
    // GetModuleFileNameA does not report the size it needs: it cuts the path
    // short, answering the buffer's size (Windows) or one less (Wine). A path
    // that reaches the buffer's last byte may be cut: try a larger buffer.
    constexpr DWORD kLongestPath = 32768;
    for (DWORD capacity = kMaxPath + 1; capacity <= 2 * kLongestPath; capacity *= 2) {
        std::vector<char> buffer(capacity);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
        if (length == 0) {
            return LastError();
        }
        if (length + 1 < capacity) {
            path.assign(buffer.data(), length);
            return kOk;
        }
    }
    return kErrFilenameTooLong;
}

OsResult Win32FileSystem::FindFirst(const std::string& pattern, FindHandle& handle,
                                    FindEntry& entry) {
    handle = kNoFind;
    entry = FindEntry{};
    if (TooLong(pattern)) {
        return kErrFilenameTooLong;
    }
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    handle = ToFindHandle(find);
    entry = ToEntry(data);
    return kOk;
}

OsResult Win32FileSystem::FindNext(FindHandle handle, FindEntry& entry) {
    entry = FindEntry{};
    WIN32_FIND_DATAA data{};
    if (!FindNextFileA(ToHandle(handle), &data)) {
        return LastError();
    }
    entry = ToEntry(data);
    return kOk;
}

OsResult Win32FileSystem::FindClose(FindHandle handle) {
    return Succeeded(::FindClose(ToHandle(handle)));
}

std::uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
    if (TooLong(path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return kInvalidAttributes;
    }
    return GetFileAttributesA(path.c_str());
}

OsResult Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    return Succeeded(SetFileAttributesA(path.c_str(), attributes));
}

OsResult Win32FileSystem::CreateFolder(const std::string& path) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    return Succeeded(CreateDirectoryA(path.c_str(), nullptr));
}

OsResult Win32FileSystem::CopyFile(const std::string& source, const std::string& destination) {
    if (TooLong(source) || TooLong(destination)) {
        return kErrFilenameTooLong;
    }
    // Windows refuses to overwrite a read-only file; Wine run as root does
    // not (it keeps the attribute as Unix permissions, which root ignores).
    // Checking first gives Windows' answer everywhere.
    const DWORD existing = GetFileAttributesA(destination.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0) {
        return kErrAccessDenied;
    }
    return Succeeded(CopyFileA(source.c_str(), destination.c_str(), FALSE));
}

OsResult Win32FileSystem::CopyFileNew(const std::string& source, const std::string& destination) {
    if (TooLong(source) || TooLong(destination)) {
        return kErrFilenameTooLong;
    }
    return Succeeded(CopyFileA(source.c_str(), destination.c_str(), TRUE));
}

OsResult Win32FileSystem::GetEnvironmentVariable(const std::string& name, std::string& value) {
    // GetEnvironmentVariableA under Wine counts characters, not bytes, and
    // cuts double-byte values short; the wide call converted to the ANSI code
    // page is what Windows' ANSI function does itself.
    value.clear();
    std::wstring wideName;
    OsResult result = ToWide(name, wideName);
    std::wstring wideValue;
    if (result == kOk) {
        result = ReadGrowing(wideValue, [&wideName](wchar_t* buffer, DWORD capacity) {
            return GetEnvironmentVariableW(wideName.c_str(), buffer, capacity);
        });
    }
    if (result == ERROR_ENVVAR_NOT_FOUND) {
        return kErrFileNotFound;  // the interface names an unset variable like a missing file
    }
    return result == kOk ? ToAnsi(wideValue, value) : result;
}

OsResult Win32FileSystem::GetRoamingAppDataFolder(std::string& path) {
    path.clear();
    // SHGetFolderPathA writes at most MAX_PATH bytes, terminating NUL included.
    char buffer[MAX_PATH] = {};
    HRESULT result = SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result)) {
        return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : kErrPathNotFound;
    }
    path.assign(buffer, strnlen(buffer, sizeof buffer));
    return path.empty() ? kErrPathNotFound : kOk;
}

OsResult Win32FileSystem::GetCurrentFolder(std::string& path) {
    return ReadGrowing(
        path, [](char* buffer, DWORD capacity) { return GetCurrentDirectoryA(capacity, buffer); });
}

OsResult Win32FileSystem::ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    std::string data;
    bool tooLarge = false;
    const OsResult read = ReadInPieces(path, [&](std::string_view piece) {
        tooLarge = tooLarge || piece.size() > kMaxWholeFile - data.size();
        if (!tooLarge)
            data.append(piece);
    });
    if (read != kOk) {
        return read;
    }
    if (tooLarge) {
        return ERROR_NOT_ENOUGH_MEMORY;  // refused whole rather than read in part
    }
    content = std::move(data);
    return kOk;
}

OsResult Win32FileSystem::ReadInPieces(const std::string& path,
                                       const std::function<void(std::string_view)>& take) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return LastError();
    }
    buffer_.resize(kPiece);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer_.data(), kPiece, &read, nullptr)) {
            return LastError();
        }
        if (read == 0) {
            return kOk;
        }
        take(std::string_view(buffer_.data(), read));
    }
}

OsResult Win32FileSystem::CopyToNewFile(const std::string& source, const std::string& destination,
                                        const std::function<void(std::string_view)>& seen) {
    if (TooLong(source) || TooLong(destination)) {
        return kErrFilenameTooLong;
    }
    UniqueFile from(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!from) {
        return LastError();
    }
    FILETIME written{};
    GetFileTime(from.Get(), nullptr, nullptr, &written);
    UniqueFile to(CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!to) {
        return LastError();
    }
    buffer_.resize(kPiece);
    OsResult result = kOk;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(from.Get(), buffer_.data(), kPiece, &read, nullptr)) {
            result = LastError();
            break;
        }
        if (read == 0) {
            break;
        }
        DWORD done = 0;
        if (!::WriteFile(to.Get(), buffer_.data(), read, &done, nullptr) || done != read) {
            result = LastError();
            break;
        }
        seen(std::string_view(buffer_.data(), read));
    }
    if (result == kOk) {
        SetFileTime(to.Get(), nullptr, nullptr, &written);
        return kOk;
    }
    to.Reset();
    DeleteFileA(destination.c_str());
    return result;
}

OsResult Win32FileSystem::AppendToFile(const std::string& path, const std::string& bytes) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return LastError();
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size() - done, std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr)) {
            return LastError();
        }
        done += written;
    }
    return Succeeded(FlushFileBuffers(file.Get()));
}

OsResult Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    if (TooLong(from) || TooLong(to)) {
        return kErrFilenameTooLong;
    }
    // Windows refuses to replace a read-only file or a folder; Wine run as
    // root would replace the first and, for an empty folder, the second.
    const DWORD existing = GetFileAttributesA(to.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return kErrAccessDenied;
    }
    return Succeeded(
        MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

OsResult Win32FileSystem::RemoveFile(const std::string& path) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    // As CopyFile: Windows' answer for a read-only file, also where Wine,
    // run as root, would delete it.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return kErrAccessDenied;
    }
    return Succeeded(DeleteFileA(path.c_str()));
}

OsResult Win32FileSystem::RemoveEmptyFolder(const std::string& path) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    return Succeeded(RemoveDirectoryA(path.c_str()));
}

}  // namespace vk::win32
