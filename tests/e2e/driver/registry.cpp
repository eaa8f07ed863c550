#include "e2e/driver/registry.h"

#include "e2e/driver/app_process.h"
#include "e2e/driver/driver_error.h"
#include "e2e/driver/unique_handle.h"

namespace vk::e2e {
namespace {

bool openKey(HKEY root, const std::string& path, REGSAM access, UniqueKey& key) {
    return RegOpenKeyExA(root, path.c_str(), 0, access, key.out()) == ERROR_SUCCESS;
}

void createKey(HKEY root, const std::string& path, UniqueKey& key) {
    const LSTATUS status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, key.out(), nullptr);
    if (status != ERROR_SUCCESS) {
        throw DriverError(withLastError("could not create key \"" + toUtf8(path) + "\"",
                                        static_cast<DWORD>(status)));
    }
}

void setValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const void* data, DWORD size) {
    UniqueKey key;
    createKey(root, path, key);
    const LSTATUS status =
        RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS) {
        throw DriverError(
            withLastError("could not set \"" + toUtf8(path) + "\" \"" + toUtf8(name) + "\"",
                          static_cast<DWORD>(status)));
    }
}

std::wstring widened(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return wide;
}

void collectKeys(HKEY root, const std::string& path,
                 const std::function<bool(const std::string&)>& wanted,
                 std::vector<std::string>& found) {
    for (const std::string& name : registrySubkeys(root, path)) {
        const std::string child = path.empty() ? name : path + "\\" + name;
        if (wanted(name))
            found.push_back(child);
        collectKeys(root, child, wanted, found);
    }
}

}  // namespace

bool registryKeyExists(HKEY root, const std::string& path) {
    UniqueKey key;
    return openKey(root, path, KEY_READ, key);
}

std::optional<RegistryValue> readRegistryValue(HKEY root, const std::string& path,
                                               const std::string& name) {
    UniqueKey key;
    if (!openKey(root, path, KEY_READ, key))
        return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The value may grow between the two calls: ask again until the buffer was big enough.
    for (;;) {
        value.data.assign(size, '\0');
        DWORD got = size;
        const LSTATUS status = RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type,
                                                reinterpret_cast<BYTE*>(value.data.data()), &got);
        if (status == ERROR_SUCCESS) {
            value.data.resize(got);
            return value;
        }
        if (status != ERROR_MORE_DATA)
            return std::nullopt;
        size = got > size ? got : size * 2;
    }
}

std::optional<std::string> readRegistryString(HKEY root, const std::string& path,
                                              const std::string& name) {
    std::optional<RegistryValue> value = readRegistryValue(root, path, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ))
        return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
}

std::optional<RegistryText> readRegistryText(HKEY root, const std::string& path,
                                             const std::string& name) {
    UniqueKey key;
    if (!openKey(root, path, KEY_READ, key))
        return std::nullopt;
    const std::wstring wideName = widened(name);
    RegistryText value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // As in readRegistryValue: ask again while the value grows.
    for (;;) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = size;
        const LSTATUS status = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &value.type,
                                                reinterpret_cast<BYTE*>(data.data()), &got);
        if (status == ERROR_SUCCESS) {
            if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
                return std::nullopt;
            data.resize(got / sizeof(wchar_t));
            value.text = data.substr(0, data.find(L'\0'));
            return value;
        }
        if (status != ERROR_MORE_DATA || size >= kMaxRegistryBuffer)
            return std::nullopt;
        size = got > size ? got : size * 2;
    }
}

std::optional<DWORD> readRegistryDword(HKEY root, const std::string& path,
                                       const std::string& name) {
    std::optional<RegistryValue> value = readRegistryValue(root, path, name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    value->data.copy(reinterpret_cast<char*>(&number), sizeof number);
    return number;
}

std::vector<std::string> registrySubkeys(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key;
    if (!openKey(root, path, KEY_READ, key))
        return names;
    // The longest-name figure of RegQueryInfoKeyA counts characters, not GBK bytes: grow the
    // buffer whenever a name does not fit instead.
    std::string name(256, '\0');
    for (DWORD i = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExA(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA && name.size() < kMaxRegistryBuffer) {
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
        ++i;
    }
    return names;
}

std::vector<std::string> findRegistryKeys(HKEY root, const std::string& path,
                                          const std::function<bool(const std::string&)>& wanted) {
    std::vector<std::string> found;
    collectKeys(root, path, wanted, found);
    return found;
}

void writeRegistryString(HKEY root, const std::string& path, const std::string& name,
                         const std::string& text) {
    setValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void writeRegistryText(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::wstring& text) {
    UniqueKey key;
    createKey(root, path, key);
    const LSTATUS status = RegSetValueExW(key.get(), widened(name).c_str(), 0, type,
                                          reinterpret_cast<const BYTE*>(text.c_str()),
                                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        throw DriverError(
            withLastError("could not set \"" + toUtf8(path) + "\" \"" + toUtf8(name) + "\"",
                          static_cast<DWORD>(status)));
    }
}

void writeRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    setValue(root, path, name, REG_DWORD, &value, sizeof value);
}

void createRegistryKey(HKEY root, const std::string& path) {
    UniqueKey key;
    createKey(root, path, key);
}

void deleteRegistryTree(HKEY root, const std::string& path) {
    // With a sub-key name, RegDeleteTree removes that key itself too.
    const LSTATUS status = RegDeleteTreeA(root, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        throw DriverError(withLastError("could not delete key \"" + toUtf8(path) + "\"",
                                        static_cast<DWORD>(status)));
    }
}

void importRegFile(const std::string& regFile) {
    AppProcess regedit =
        AppProcess::start("C:\\windows\\regedit.exe", {}, "/S \"" + regFile + "\"");
    const DWORD code = regedit.waitForExit();
    if (code != 0) {
        throw DriverError("regedit /S \"" + toUtf8(regFile) + "\" ended with exit code " +
                          std::to_string(code));
    }
}

}  // namespace vk::e2e
