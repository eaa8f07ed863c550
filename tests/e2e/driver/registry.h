#pragma once
// Registry checks and sample-machine seeding for the tests, ANSI names, native 64-bit view
// (the 32-bit view is reached, as the program reaches it, by the Wow6432Node path).
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vk::e2e {

// Buffers for names and data grow up to this size, then give up.
inline constexpr size_t kMaxRegistryBuffer = 64u << 20;

struct RegistryValue {
    DWORD type = REG_NONE;
    std::string data;  // the stored bytes, terminators included
    DWORD storedSize() const { return static_cast<DWORD>(data.size()); }
};

bool registryKeyExists(HKEY root, const std::string& path);
std::optional<RegistryValue> readRegistryValue(HKEY root, const std::string& path,
                                               const std::string& name);
// REG_SZ or REG_EXPAND_SZ text up to its first NUL; nothing for other types.
std::optional<std::string> readRegistryString(HKEY root, const std::string& path,
                                              const std::string& name);
// REG_SZ or REG_EXPAND_SZ through the wide functions: UTF-16 up to its first NUL, with its type.
struct RegistryText {
    DWORD type = REG_NONE;
    std::wstring text;
};
std::optional<RegistryText> readRegistryText(HKEY root, const std::string& path,
                                             const std::string& name);
std::optional<DWORD> readRegistryDword(HKEY root, const std::string& path, const std::string& name);
std::vector<std::string> registrySubkeys(HKEY root, const std::string& path);

// Paths (below root) of every key under `path`, at any depth, whose name satisfies `wanted`.
std::vector<std::string> findRegistryKeys(HKEY root, const std::string& path,
                                          const std::function<bool(const std::string&)>& wanted);

// Writers create missing keys; they throw DriverError.
void writeRegistryString(HKEY root, const std::string& path, const std::string& name,
                         const std::string& text);  // stored with its terminating NUL
// REG_SZ or REG_EXPAND_SZ through the wide functions, stored with its terminating NUL.
void writeRegistryText(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::wstring& text);
void writeRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void createRegistryKey(HKEY root, const std::string& path);
void deleteRegistryTree(HKEY root, const std::string& path);  // a missing key is fine

// Imports a .reg file as regedit /S does, in this Wine prefix; throws DriverError.
void importRegFile(const std::string& regFile);

}  // namespace vk::e2e
