#include "e2e/driver/registry_snapshot.h"

#include <cstdio>
#include <utility>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/registry.h"
#include "e2e/driver/unique_handle.h"

namespace vk::e2e {
namespace {

using Key = RegistrySnapshot::Key;
using Value = RegistrySnapshot::Value;

void captureValues(HKEY key, Key& into) {
    // Buffers grow whenever a name or data does not fit (sizes of the A functions are not
    // known in advance for GBK names).
    std::string name(256, '\0');
    std::string data(256, '\0');
    for (DWORD i = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        Value value;
        const LSTATUS status = RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type,
                                             reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_MORE_DATA && data.size() < kMaxRegistryBuffer) {
            name.resize(name.size() * 2);
            data.resize(data.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        value.name.assign(name.data(), nameLength);
        value.data.assign(data.data(), dataSize);
        into.values.push_back(std::move(value));
        ++i;
    }
}

bool captureKey(HKEY root, const std::string& path, Key& into) {
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return false;
    captureValues(key.get(), into);
    for (const std::string& name : registrySubkeys(root, path)) {
        Key child;
        child.name = name;
        if (captureKey(root, path + "\\" + name, child))
            into.subkeys.push_back(std::move(child));
    }
    return true;
}

void writeKey(HKEY root, const std::string& path, const Key& key) {
    createRegistryKey(root, path);
    UniqueKey opened;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, opened.out()) != ERROR_SUCCESS) {
        throw DriverError("could not reopen key \"" + toUtf8(path) + "\"");
    }
    for (const Value& value : key.values) {
        RegSetValueExA(opened.get(), value.name.c_str(), 0, value.type,
                       reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    }
    for (const Key& child : key.subkeys)
        writeKey(root, path + "\\" + child.name, child);
}

std::string describeData(const Value& value) {
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
        return "text \"" + toUtf8(value.data.substr(0, value.data.find('\0'))) + "\" (" +
               std::to_string(value.data.size()) + " bytes)";
    }
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        value.data.copy(reinterpret_cast<char*>(&number), sizeof number);
        return "dword " + std::to_string(number);
    }
    std::string text = "type " + std::to_string(value.type) + " hex";
    for (unsigned char byte : value.data) {
        char pair[4];
        std::snprintf(pair, sizeof pair, " %02x", byte);
        text += pair;
    }
    return text;
}

void describeKey(const std::string& path, const Key& key, std::string& out) {
    // Appended piece by piece: GCC 12 misreports "x" + temporary string.
    out += '[';
    out += toUtf8(path);
    out += "]\n";
    for (const Value& value : key.values) {
        out += "  \"" + toUtf8(value.name) + "\" = " + describeData(value) + "\n";
    }
    for (const Key& child : key.subkeys)
        describeKey(path + "\\" + child.name, child, out);
}

}  // namespace

RegistrySnapshot RegistrySnapshot::capture(HKEY root, const std::string& path) {
    RegistrySnapshot snapshot;
    snapshot.root_ = root;
    snapshot.path_ = path;
    snapshot.exists_ = captureKey(root, path, snapshot.key_);
    return snapshot;
}

void RegistrySnapshot::restore() const {
    deleteRegistryTree(root_, path_);
    if (exists_)
        writeKey(root_, path_, key_);
}

std::string RegistrySnapshot::describe() const {
    if (!exists_) {
        std::string out = "[";
        out += toUtf8(path_);
        return out += "] does not exist\n";
    }
    std::string out;
    describeKey(path_, key_, out);
    return out;
}

RegistryGuard::~RegistryGuard() {
    try {
        snapshot_.restore();
    } catch (const DriverError&) {
        // A destructor must not throw; the next test's own checks will show the leftovers.
    }
}

}  // namespace vk::e2e
