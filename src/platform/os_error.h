#pragma once
// Result codes of the OS services. They are the Win32 error numbers, so the
// Win32 implementations pass results through unchanged and the memory
// implementations answer with the same numbers Windows would.
namespace vk {

using OsResult = long;

inline constexpr OsResult kOk = 0;                     // ERROR_SUCCESS
inline constexpr OsResult kErrFileNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr OsResult kErrPathNotFound = 3;        // ERROR_PATH_NOT_FOUND
inline constexpr OsResult kErrAccessDenied = 5;        // ERROR_ACCESS_DENIED
inline constexpr OsResult kErrInvalidHandle = 6;       // ERROR_INVALID_HANDLE
inline constexpr OsResult kErrSharingViolation = 32;   // ERROR_SHARING_VIOLATION
inline constexpr OsResult kErrFileExists = 80;         // ERROR_FILE_EXISTS
inline constexpr OsResult kErrInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
inline constexpr OsResult kErrDirNotEmpty = 145;       // ERROR_DIR_NOT_EMPTY
inline constexpr OsResult kErrAlreadyExists = 183;     // ERROR_ALREADY_EXISTS
inline constexpr OsResult kErrFilenameTooLong = 206;   // ERROR_FILENAME_EXCED_RANGE
inline constexpr OsResult kErrMoreData = 234;          // ERROR_MORE_DATA
inline constexpr OsResult kErrNoMoreItems = 259;       // ERROR_NO_MORE_ITEMS
inline constexpr OsResult kErrNoMoreFiles = 18;        // ERROR_NO_MORE_FILES
inline constexpr OsResult kErrUnsupportedType = 1630;  // ERROR_UNSUPPORTED_TYPE
inline constexpr OsResult kErrInjected = 1117;  // ERROR_IO_DEVICE: a failure a test asked for

// Longest path the file system takes, terminating NUL included (MAX_PATH).
inline constexpr unsigned kMaxPath = 260;

}  // namespace vk
