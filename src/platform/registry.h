#pragma once
// The registry as the setup uses it: the ANSI registry functions of a Chinese
// Windows (code page 936), narrowed to the operations the discovery and the
// registrations make, and the wide ones for texts that must keep characters
// the code page lacks. Key and value names are ANSI text either way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os_error.h"

namespace vk {

// An open key. Opaque to the core; 0 is "no key".
using RegHandle = std::uintptr_t;
inline constexpr RegHandle kNoKey = 0;

// Users: HKEY_USERS, whose subkeys are the loaded hives of the users, by
// SID; the current user's is the one HKEY_CURRENT_USER names.
enum class RegRoot { LocalMachine, CurrentUser, Users };

// Value types the setup reads and writes (the Win32 REG_* numbers).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// Longest key name, without its NUL: a 256-character buffer holds every name.
inline constexpr std::size_t kMaxKeyNameChars = 255;

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // RegOpenKeyA(root, NULL): a handle to the root itself. Must be closed.
    virtual OsResult OpenRoot(RegRoot root, RegHandle& key) = 0;
    // RegOpenKeyA(parent, path): opens an existing key for reading and writing.
    // `key` is kNoKey on failure.
    virtual OsResult OpenKey(RegHandle parent, const std::string& path, RegHandle& key) = 0;
    // RegOpenKeyExA(parent, subKey, 0, KEY_READ): an empty name opens the parent again.
    virtual OsResult OpenKeyForRead(RegHandle parent, const std::string& subKey,
                                    RegHandle& key) = 0;
    // RegCreateKeyA(parent, path): opens the key, creating every missing level.
    virtual OsResult CreateKey(RegHandle parent, const std::string& path, RegHandle& key) = 0;
    // RegQueryInfoKeyA, asking only for the number of immediate subkeys.
    virtual OsResult QuerySubkeyCount(RegHandle key, std::uint32_t& count) = 0;
    // RegEnumKeyExA with a 256-character buffer: the name of subkey `index`.
    virtual OsResult EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) = 0;
    // RegQueryValueExA with a buffer of `bufferSize` bytes. Data larger than the
    // buffer give kErrMoreData and leave `data` empty; an absent value gives
    // kErrFileNotFound. `data` holds the bytes exactly as stored.
    virtual OsResult QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                                std::vector<std::uint8_t>& data, std::uint32_t& type) = 0;
    // RegQueryValueExA asking only for the size of the stored data, in bytes.
    virtual OsResult QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) = 0;
    // RegSetValueExA with REG_DWORD and 4 bytes.
    virtual OsResult SetDword(RegHandle key, const std::string& name, std::uint32_t value) = 0;
    // RegSetValueExA with REG_SZ: the text's bytes, without a terminating NUL.
    virtual OsResult SetString(RegHandle key, const std::string& name, const std::string& text) = 0;

    // RegQueryValueExW asking only for the size of the stored data, in bytes
    // (for a text: UTF-16 code units times two, its NUL included).
    virtual OsResult QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) = 0;
    // RegQueryValueExW with a buffer of `bufferSize` bytes. For REG_SZ and
    // REG_EXPAND_SZ, `text` is the stored text up to its first NUL, exactly
    // as stored (%VARIABLES% unexpanded); any other type gives kOk with its
    // `type` and an empty `text`. Data larger than the buffer give
    // kErrMoreData, an absent value kErrFileNotFound, and `text` stays empty.
    virtual OsResult QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                               std::u16string& text, std::uint32_t& type) = 0;
    // RegSetValueExW with `type` REG_SZ or REG_EXPAND_SZ (any other type is
    // kErrInvalidParameter): the text and its terminating NUL.
    virtual OsResult SetText(RegHandle key, const std::string& name, std::uint32_t type,
                             const std::u16string& text) = 0;

    // RegSetValueExA with any type and exactly these bytes: a value put back
    // as it was read.
    virtual OsResult SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) = 0;
    // RegDeleteValueA: kErrFileNotFound when there is no such value.
    virtual OsResult DeleteValue(RegHandle key, const std::string& name) = 0;
    // RegEnumValueA: the name of value `index`; kErrNoMoreItems past the last.
    virtual OsResult EnumValueName(RegHandle key, std::uint32_t index, std::string& name) = 0;

    // RegDeleteKeyA: deletes a key that has no subkeys.
    virtual OsResult DeleteKey(RegHandle parent, const std::string& path) = 0;
    // RegCloseKey.
    virtual OsResult CloseKey(RegHandle key) = 0;
};

}  // namespace vk
