#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <limits>

#include "platform/win32/ansi_conversion.h"
#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

HKEY ToHKey(RegHandle key) {
    return reinterpret_cast<HKEY>(key);
}
RegHandle ToHandle(HKEY key) {
    return reinterpret_cast<RegHandle>(key);
}

// Runs an open call and hands out the key only on success, so a failure
// always leaves kNoKey. (The call runs before `opened` is read.)
template <typename OpenCall>
OsResult Deliver(RegHandle& key, OpenCall open) {
    HKEY opened = nullptr;
    const LONG result = open(opened);
    key = (result == ERROR_SUCCESS && opened != nullptr) ? ToHandle(opened) : kNoKey;
    return result;
}

// A path made only of separators names the parent itself.
bool NamesParent(const std::string& path) {
    return path.find_first_not_of('\\') == std::string::npos;
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

OsResult Win32Registry::OpenRoot(RegRoot root, RegHandle& key) {
    HKEY predefined = root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE
                      : root == RegRoot::Users      ? HKEY_USERS
                                                    : HKEY_CURRENT_USER;
    // Gives the predefined root itself, which RegCloseKey accepts and ignores.
    return Deliver(key, [&](HKEY& opened) { return RegOpenKeyA(predefined, nullptr, &opened); });
}

OsResult Win32Registry::OpenKey(RegHandle parent, const std::string& path, RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        // RegOpenKeyA would return the parent itself for an empty path, and
        // closing that "copy" would close the parent: open a handle of its own.
        return path.empty() ? RegOpenKeyExA(ToHKey(parent), "", 0, MAXIMUM_ALLOWED, &opened)
                            : RegOpenKeyA(ToHKey(parent), path.c_str(), &opened);
    });
}

OsResult Win32Registry::OpenKeyForRead(RegHandle parent, const std::string& subKey,
                                       RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        return RegOpenKeyExA(ToHKey(parent), subKey.c_str(), 0, KEY_READ, &opened);
    });
}

OsResult Win32Registry::CreateKey(RegHandle parent, const std::string& path, RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        // Same trap as in OpenKey: RegCreateKeyA would hand back the parent.
        return path.empty() ? RegCreateKeyExA(ToHKey(parent), "", 0, nullptr, 0, MAXIMUM_ALLOWED,
                                              nullptr, &opened, nullptr)
                            : RegCreateKeyA(ToHKey(parent), path.c_str(), &opened);
    });
}

OsResult Win32Registry::QuerySubkeyCount(RegHandle key, std::uint32_t& count) {
    DWORD subkeys = 0;
    LONG result = RegQueryInfoKeyA(ToHKey(key), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    count = result == ERROR_SUCCESS ? subkeys : 0;
    return result;
}

OsResult Win32Registry::EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    char buffer[kMaxKeyNameChars + 1] = {};
    DWORD length = sizeof buffer;
    LONG result =
        RegEnumKeyExA(ToHKey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS && length < sizeof buffer) {
        name.assign(buffer, length);
    }
    return result;
}

OsResult Win32Registry::QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                                   std::vector<std::uint8_t>& data, std::uint32_t& type) {
    data.clear();
    if (bufferSize > std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    // One byte more than asked for never reaches the API; it only keeps the
    // pointer non-null for a zero size, which would otherwise ask for the size.
    std::vector<std::uint8_t> buffer(bufferSize + 1);
    DWORD length = static_cast<DWORD>(bufferSize);
    DWORD storedType = 0;
    LONG result =
        RegQueryValueExA(ToHKey(key), name.c_str(), nullptr, &storedType, buffer.data(), &length);
    type = storedType;
    if (result == ERROR_SUCCESS && length <= bufferSize) {
        data.assign(buffer.begin(), buffer.begin() + length);
    }
    return result;
}

OsResult Win32Registry::QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) {
    DWORD length = 0;
    LONG result = RegQueryValueExA(ToHKey(key), name.c_str(), nullptr, nullptr, nullptr, &length);
    size = result == ERROR_SUCCESS ? length : 0;
    return result;
}

OsResult Win32Registry::SetDword(RegHandle key, const std::string& name, std::uint32_t value) {
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                           static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    return RegSetValueExA(ToHKey(key), name.c_str(), 0, REG_DWORD, bytes, sizeof bytes);
}

OsResult Win32Registry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                 const std::vector<std::uint8_t>& data) {
    if (data.size() >= std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegSetValueExA(ToHKey(key), name.c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
}

OsResult Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
    return RegDeleteValueA(ToHKey(key), name.c_str());
}

OsResult Win32Registry::EnumValueName(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    // Value names may be as long as 16383 characters.
    std::vector<char> buffer(16384);
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG result = RegEnumValueA(ToHKey(key), index, buffer.data(), &length, nullptr, nullptr,
                                      nullptr, nullptr);
    if (result == ERROR_SUCCESS)
        name.assign(buffer.data(), length);
    return result;
}

OsResult Win32Registry::SetString(RegHandle key, const std::string& name, const std::string& text) {
    if (text.size() >= std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegSetValueExA(ToHKey(key), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size()));
}

OsResult Win32Registry::QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) {
    size = 0;
    std::wstring wideName;
    if (const OsResult converted = ToWide(name, wideName); converted != kOk) {
        return converted;
    }
    DWORD length = 0;
    LONG result =
        RegQueryValueExW(ToHKey(key), wideName.c_str(), nullptr, nullptr, nullptr, &length);
    size = result == ERROR_SUCCESS ? length : 0;
    return result;
}

OsResult Win32Registry::QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                                  std::u16string& text, std::uint32_t& type) {
    text.clear();
    std::wstring wideName;
    if (const OsResult converted = ToWide(name, wideName); converted != kOk) {
        return converted;
    }
    if (bufferSize > std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    // As in QueryValue: the extra code unit never reaches the API.
    std::vector<wchar_t> buffer(bufferSize / sizeof(wchar_t) + 1);
    DWORD length = static_cast<DWORD>(bufferSize);
    DWORD storedType = 0;
    LONG result = RegQueryValueExW(ToHKey(key), wideName.c_str(), nullptr, &storedType,
                                   reinterpret_cast<BYTE*>(buffer.data()), &length);
    type = storedType;
    if (result == ERROR_SUCCESS && IsText(storedType) && length <= bufferSize) {
        const auto units = buffer.begin() + static_cast<std::ptrdiff_t>(length / sizeof(wchar_t));
        text.assign(buffer.begin(), std::find(buffer.begin(), units, L'\0'));
    }
    return result;
}

OsResult Win32Registry::SetText(RegHandle key, const std::string& name, std::uint32_t type,
                                const std::u16string& text) {
    std::wstring wideName;
    if (const OsResult converted = ToWide(name, wideName); converted != kOk) {
        return converted;
    }
    if (!IsText(type) || text.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring data(text.begin(), text.end());  // c_str() adds the NUL
    const DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(ToHKey(key), wideName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.c_str()), size);
}

OsResult Win32Registry::DeleteKey(RegHandle parent, const std::string& path) {
    // RegDeleteKeyA with an empty name deletes the parent key itself; the
    // setup only ever deletes keys below the one it holds.
    if (NamesParent(path)) {
        return ERROR_ACCESS_DENIED;
    }
    return RegDeleteKeyA(ToHKey(parent), path.c_str());
}

OsResult Win32Registry::CloseKey(RegHandle key) {
    return RegCloseKey(ToHKey(key));
}

}  // namespace vk::win32
