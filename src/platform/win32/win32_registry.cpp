#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <limits>

#include "platform/win32/gbk_text.h"
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

// The types whose data the ANSI functions convert between the code page and
// UTF-16, as RegQueryValueExA and RegSetValueExA do.
bool IsConverted(DWORD type) {
    return IsText(type) || type == REG_MULTI_SZ;
}

// UTF-16 data of a stored text as GBK bytes, NULs and all; a character GBK
// lacks reads as '?', as RegQueryValueExA of a Chinese Windows gives it.
std::vector<std::uint8_t> GbkData(const std::vector<std::uint8_t>& stored) {
    std::wstring wide(stored.size() / sizeof(wchar_t), L'\0');
    std::copy_n(stored.begin(), wide.size() * sizeof(wchar_t),
                reinterpret_cast<std::uint8_t*>(wide.data()));
    const std::string gbk = Gbk(wide);
    return std::vector<std::uint8_t>(gbk.begin(), gbk.end());
}

// Reads a value's data as stored (UTF-16 for texts), at whatever size it has.
LONG ReadStored(HKEY key, const std::wstring& name, DWORD& type, std::vector<std::uint8_t>& data) {
    data.clear();
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    while (result == ERROR_SUCCESS) {
        // One byte more never reaches the API; it keeps the pointer non-null.
        data.resize(static_cast<std::size_t>(size) + 1);
        DWORD length = size;
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &length);
        if (result == ERROR_SUCCESS) {
            data.resize(length);
        } else if (result == ERROR_MORE_DATA && length > size) {
            size = length;  // it grew since its size was asked
            result = ERROR_SUCCESS;
            continue;
        }
        break;
    }
    if (result != ERROR_SUCCESS)
        data.clear();
    return result;
}

// Data as the ANSI functions give them: texts as GBK.
LONG ReadAsAnsi(HKEY key, const std::string& name, DWORD& type, std::vector<std::uint8_t>& data) {
    const LONG result = ReadStored(key, Wide(name), type, data);
    if (result == ERROR_SUCCESS && IsConverted(type))
        data = GbkData(data);
    return result;
}

}  // namespace

OsResult Win32Registry::OpenRoot(RegRoot root, RegHandle& key) {
    HKEY predefined = root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE
                      : root == RegRoot::Users      ? HKEY_USERS
                                                    : HKEY_CURRENT_USER;
    // Gives the predefined root itself, which RegCloseKey accepts and ignores.
    return Deliver(key, [&](HKEY& opened) { return RegOpenKeyW(predefined, nullptr, &opened); });
}

OsResult Win32Registry::OpenKey(RegHandle parent, const std::string& path, RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        // RegOpenKey would return the parent itself for an empty path, and
        // closing that "copy" would close the parent: open a handle of its own.
        return path.empty() ? RegOpenKeyExW(ToHKey(parent), L"", 0, MAXIMUM_ALLOWED, &opened)
                            : RegOpenKeyW(ToHKey(parent), Wide(path).c_str(), &opened);
    });
}

OsResult Win32Registry::OpenKeyForRead(RegHandle parent, const std::string& subKey,
                                       RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        return RegOpenKeyExW(ToHKey(parent), Wide(subKey).c_str(), 0, KEY_READ, &opened);
    });
}

OsResult Win32Registry::CreateKey(RegHandle parent, const std::string& path, RegHandle& key) {
    return Deliver(key, [&](HKEY& opened) {
        // Same trap as in OpenKey: RegCreateKey would hand back the parent.
        return path.empty() ? RegCreateKeyExW(ToHKey(parent), L"", 0, nullptr, 0, MAXIMUM_ALLOWED,
                                              nullptr, &opened, nullptr)
                            : RegCreateKeyW(ToHKey(parent), Wide(path).c_str(), &opened);
    });
}

OsResult Win32Registry::QuerySubkeyCount(RegHandle key, std::uint32_t& count) {
    DWORD subkeys = 0;
    LONG result = RegQueryInfoKeyW(ToHKey(key), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    count = result == ERROR_SUCCESS ? subkeys : 0;
    return result;
}

OsResult Win32Registry::EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    // Key names are at most 255 characters.
    wchar_t buffer[kMaxKeyNameChars + 1] = {};
    DWORD length = kMaxKeyNameChars + 1;
    LONG result =
        RegEnumKeyExW(ToHKey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    // A name is opened again by what it reads as: one GBK lacks a character
    // of cannot be (a '?' in its place would name another key).
    std::string gbk;
    if (const OsResult converted = ToGbk(std::wstring_view(buffer, length), gbk);
        converted != kOk) {
        return converted;
    }
    // As RegEnumKeyExA with a buffer of 256 bytes: a longer GBK name does not fit.
    if (gbk.size() > kMaxKeyNameChars)
        return ERROR_MORE_DATA;
    name = std::move(gbk);
    return kOk;
}

OsResult Win32Registry::QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                                   std::vector<std::uint8_t>& data, std::uint32_t& type) {
    data.clear();
    if (bufferSize > std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    // The whole value, then the buffer's limit on its ANSI form, as
    // RegQueryValueExA applies it.
    DWORD storedType = 0;
    std::vector<std::uint8_t> stored;
    const LONG result = ReadAsAnsi(ToHKey(key), name, storedType, stored);
    type = storedType;
    if (result != ERROR_SUCCESS)
        return result;
    if (stored.size() > bufferSize)
        return ERROR_MORE_DATA;
    data = std::move(stored);
    return kOk;
}

OsResult Win32Registry::QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) {
    size = 0;
    DWORD type = 0;
    std::vector<std::uint8_t> stored;
    const LONG result = ReadAsAnsi(ToHKey(key), name, type, stored);
    if (result == ERROR_SUCCESS)
        size = stored.size();
    return result;
}

OsResult Win32Registry::SetDword(RegHandle key, const std::string& name, std::uint32_t value) {
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                           static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    return RegSetValueExW(ToHKey(key), Wide(name).c_str(), 0, REG_DWORD, bytes, sizeof bytes);
}

OsResult Win32Registry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                                 const std::vector<std::uint8_t>& data) {
    if (data.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!IsConverted(type)) {
        return RegSetValueExW(ToHKey(key), Wide(name).c_str(), 0, type, data.data(),
                              static_cast<DWORD>(data.size()));
    }
    // GBK bytes, NULs and all, stored as UTF-16, as RegSetValueExA stores them.
    const std::wstring wide =
        Wide(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    return RegSetValueExW(ToHKey(key), Wide(name).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}

OsResult Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
    return RegDeleteValueW(ToHKey(key), Wide(name).c_str());
}

OsResult Win32Registry::EnumValueName(RegHandle key, std::uint32_t index, std::string& name) {
    name.clear();
    // Value names may be as long as 16383 characters.
    std::vector<wchar_t> buffer(16384);
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG result = RegEnumValueW(ToHKey(key), index, buffer.data(), &length, nullptr, nullptr,
                                      nullptr, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    // Read again by its name: one GBK cannot hold is refused, as in EnumSubkey.
    return ToGbk(std::wstring_view(buffer.data(), length), name);
}

OsResult Win32Registry::SetString(RegHandle key, const std::string& name, const std::string& text) {
    if (text.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return ERROR_INVALID_PARAMETER;
    }
    // The text and its terminating NUL, which RegSetValueExA stores too when
    // the byte after the data is one, as it is after a C string; an empty
    // text is stored empty, as RegSetValueExA stores it.
    const std::wstring wide = Wide(text);  // c_str() adds the NUL
    const std::size_t units = wide.empty() ? 0 : wide.size() + 1;
    return RegSetValueExW(ToHKey(key), Wide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>(units * sizeof(wchar_t)));
}

OsResult Win32Registry::QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) {
    size = 0;
    const std::wstring wideName = Wide(name);
    DWORD length = 0;
    LONG result =
        RegQueryValueExW(ToHKey(key), wideName.c_str(), nullptr, nullptr, nullptr, &length);
    size = result == ERROR_SUCCESS ? length : 0;
    return result;
}

OsResult Win32Registry::QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                                  std::u16string& text, std::uint32_t& type) {
    text.clear();
    const std::wstring wideName = Wide(name);
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
    const std::wstring wideName = Wide(name);
    if (!IsText(type) || text.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring data(text.begin(), text.end());  // c_str() adds the NUL
    const DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(ToHKey(key), wideName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.c_str()), size);
}

OsResult Win32Registry::DeleteKey(RegHandle parent, const std::string& path) {
    // RegDeleteKey with an empty name deletes the parent key itself; the
    // setup only ever deletes keys below the one it holds.
    if (NamesParent(path)) {
        return ERROR_ACCESS_DENIED;
    }
    return RegDeleteKeyW(ToHKey(parent), Wide(path).c_str());
}

OsResult Win32Registry::CloseKey(RegHandle key) {
    return RegCloseKey(ToHKey(key));
}

}  // namespace vk::win32
