#include "engine/changes/demand_load_written.h"

#include "acad/registry_access.h"
#include "core/reg_key.h"

namespace vk {
namespace {

constexpr const char* kApplicationsKey = "Applications";

bool Had(const std::vector<RecordedValue>& values, const std::string& name) {
    for (const RecordedValue& value : values) {
        if (value.name == name)
            return true;
    }
    return false;
}

}  // namespace

void DemandLoadWritten::Undo(UndoContext& context) const {
    IRegistry& registry = context.services.registry;
    const std::string where = "HKLM\\" + productKey + "\\" + appKey;
    RegKey machine(registry);
    RegKey product(registry);
    if (const OsResult result = machine.OpenRoot(RegRoot::LocalMachine); result != kOk)
        return context.Failed("open HKEY_LOCAL_MACHINE", result);
    if (const OsResult result = product.Open(machine.Get(), productKey); result != kOk) {
        if (result != kErrFileNotFound)
            context.Failed("open HKLM\\" + productKey, result);
        return;  // AutoCAD was removed, and our key with it
    }
    bool present = false;
    {
        RegKey app(registry);
        if (app.Open(product.Get(), appKey) == kOk) {
            present = true;
            // Ours while its LOADER is ours, or missing (a registration that
            // stopped half-way); another's LOADER makes it another's, unless
            // the run was interrupted while it wrote.
            StoredValue found;
            const OsResult read = ReadStoredValue(registry, app.Get(), "LOADER", found);
            if (!context.interrupted && read != kErrFileNotFound &&
                (read != kOk || TextUpToNul(found.data) != loader))
                return context.Kept(where + " names another module now");
        }
    }
    if (present && registry.DeleteKey(product.Get(), appKey) != kOk) {
        // It has subkeys of its own: take back only the values written.
        RegKey app(registry);
        if (const OsResult result = app.Open(product.Get(), appKey); result != kOk)
            return context.Failed("open " + where, result);
        for (const char* name : {"LOADCTRLS", "LOADER"}) {
            if (!Had(oldValues, name))
                registry.DeleteValue(app.Get(), name);
        }
    }
    if (existed) {
        RegKey app(registry);
        if (const OsResult result = app.Create(product.Get(), appKey); result != kOk)
            return context.Failed("restore " + where, result);
        for (const RecordedValue& value : oldValues) {
            const std::vector<std::uint8_t> data(value.data.begin(), value.data.end());
            if (const OsResult result = registry.SetValue(app.Get(), value.name, value.type, data);
                result != kOk) {
                context.Failed("restore " + value.name + " in " + where, result);
            }
        }
        return context.services.log.Info("Restored " + where +
                                         " as it was before the installation");
    }
    if (parentCreated) {
        RegKey applications(registry);
        if (applications.OpenForRead(product.Get(), kApplicationsKey) == kOk &&
            IsEmptyKey(registry, applications.Get())) {
            applications.Reset();
            registry.DeleteKey(product.Get(), kApplicationsKey);
        }
    }
    context.services.log.Info("Removed " + where);
}

}  // namespace vk
