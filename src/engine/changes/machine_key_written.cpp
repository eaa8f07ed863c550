#include "engine/changes/machine_key_written.h"

#include "acad/registry_access.h"
#include "core/reg_key.h"
#include "engine/journal/record_values.h"

namespace vk {
namespace {

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz;
}

// Texts are kept as UTF-16, as the wide functions read and write them, so
// that no character is lost; other values as their bytes.
OsResult ReadValue(IRegistry& registry, RegHandle key, const std::string& name,
                   RecordedValue& value) {
    StoredValue stored;
    if (const OsResult result = ReadStoredValue(registry, key, name, stored); result != kOk)
        return result;
    value = {name, stored.type, std::string(stored.data.begin(), stored.data.end())};
    if (!IsText(stored.type))
        return kOk;
    std::u16string text;
    std::uint32_t type = 0;
    if (const OsResult result = ReadTextValue(registry, key, name, text, type); result != kOk)
        return result;
    value.data = WideTextBytes(text);
    return kOk;
}

}  // namespace

std::optional<MachineKeyWritten> MachineKeyWritten::Capture(const Services& services,
                                                            const char* key) {
    IRegistry& registry = services.registry;
    MachineKeyWritten captured{key, false, {}};
    RegKey machine(registry);
    RegKey found(registry);
    OsResult result = machine.OpenRoot(RegRoot::LocalMachine);
    if (result == kOk) {
        result = found.OpenForRead(machine.Get(), key);
        if (result == kErrFileNotFound)
            return captured;
    }
    captured.existed = result == kOk;
    std::string name;
    for (std::uint32_t index = 0; result == kOk; ++index) {
        result = registry.EnumValueName(found.Get(), index, name);
        if (result == kErrNoMoreItems)
            return captured;
        RecordedValue value;
        if (result == kOk)
            result = ReadValue(registry, found.Get(), name, value);
        captured.oldValues.push_back(std::move(value));
    }
    services.log.Failed("read HKLM\\" + std::string(key) + " as it is", result);
    return std::nullopt;
}

void MachineKeyWritten::Undo(UndoContext& context) const {
    IRegistry& registry = context.services.registry;
    const std::string where = "HKLM\\" + key;
    RegKey machine(registry);
    if (const OsResult result = machine.OpenRoot(RegRoot::LocalMachine); result != kOk)
        return context.Failed("open HKEY_LOCAL_MACHINE", result);
    if (!existed) {
        const OsResult result = registry.DeleteKey(machine.Get(), key);
        if (result != kOk && result != kErrFileNotFound)
            return context.Failed("remove " + where, result);
        return context.services.log.Info("Removed " + where);
    }
    RegKey found(registry);
    if (const OsResult result = found.Create(machine.Get(), key); result != kOk)
        return context.Failed("restore " + where, result);
    // Values written since go; the old ones come back.
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t index = 0; registry.EnumValueName(found.Get(), index, name) == kOk; ++index)
        names.push_back(name);
    for (const std::string& present : names) {
        bool old = false;
        for (const RecordedValue& value : oldValues)
            old = old || value.name == present;
        if (!old)
            registry.DeleteValue(found.Get(), present);
    }
    for (const RecordedValue& value : oldValues) {
        const OsResult result =
            IsText(value.type)
                ? registry.SetText(found.Get(), value.name, value.type, WideTextOf(value.data))
                : registry.SetValue(found.Get(), value.name, value.type,
                                    std::vector<std::uint8_t>(value.data.begin(), value.data.end()));
        if (result != kOk)
            context.Failed("restore " + value.name + " in " + where, result);
    }
    context.services.log.Info("Restored " + where + " as it was before the installation");
}

}  // namespace vk
