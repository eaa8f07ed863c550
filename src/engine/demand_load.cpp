#include "engine/demand_load.h"

#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "core/reg_key.h"
#include "engine/install_paths.h"
#include "engine/journal/record.h"

namespace vk {

int ModuleNumberForYear(int year) {
    const ReleaseRow* row = ReleaseRowOfYear(year);
    return row == nullptr ? 0 : row->moduleNumber;
}

std::string ModuleFileName(int year) {
    return "VK_BatchPlot" + std::to_string(ModuleNumberForYear(year)) + ".ARX";
}

std::string ApplicationKeyName(int year) {
    return "Applications\\VK_BatchPlot" + std::to_string(year);
}

std::string LoaderPath(const std::string& installDir, int year) {
    return JoinPath(installDir, ModuleFileName(year));
}

}  // namespace vk

void CAcadReleaseCatalog::RegisterSelectedReleases(const int selected[kReleaseSlots]) {
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (selected[slot] != 0)
            RegisterDemandLoad(static_cast<unsigned>(kFirstReleaseYear + slot));
    }
    RegisterTrustedPaths();
}

namespace {

// The values an earlier installation left in the application key, for the log.
std::string OldValues(vk::IRegistry& registry, vk::RegHandle product, const std::string& appKey) {
    vk::RegKey app(registry);
    if (app.OpenForRead(product, appKey) != vk::kOk)
        return "none";
    std::string text;
    for (const char* name : {"LOADCTRLS", "LOADER"}) {
        vk::StoredValue value;
        const bool read = vk::ReadStoredValue(registry, app.Get(), name, value) == vk::kOk;
        text += std::string(text.empty() ? "" : ", ") + name + " " +
                vk::DescribeStoredValue(read ? &value : nullptr);
    }
    return text;
}

// The application key as it is before the installation changes it: whether
// it and its parent "Applications" exist, and every value it holds.
struct AppKeyBefore {
    bool parentExists = false;
    bool exists = false;
    std::vector<vk::RecordedValue> values;
};

bool Absent(vk::OsResult result) {
    return result == vk::kErrFileNotFound || result == vk::kErrPathNotFound;
}

// kOk, or why the key could not be read whole: then it is not changed, since
// the record could not give it back.
vk::OsResult ReadAppKey(vk::IRegistry& registry, vk::RegHandle product, const std::string& appKey,
                        AppKeyBefore& before) {
    vk::RegKey parent(registry);
    vk::OsResult result = parent.OpenForRead(product, "Applications");
    before.parentExists = result == vk::kOk;
    if (!before.parentExists)
        return Absent(result) ? vk::kOk : result;
    vk::RegKey app(registry);
    result = app.OpenForRead(product, appKey);
    before.exists = result == vk::kOk;
    if (!before.exists)
        return Absent(result) ? vk::kOk : result;
    std::string name;
    for (std::uint32_t index = 0;; ++index) {
        result = registry.EnumValueName(app.Get(), index, name);
        if (result == vk::kErrNoMoreItems)
            return vk::kOk;
        if (result != vk::kOk)
            return result;
        vk::StoredValue value;
        if (result = vk::ReadStoredValue(registry, app.Get(), name, value); result != vk::kOk)
            return result;
        before.values.push_back(
            {name, value.type, std::string(value.data.begin(), value.data.end())});
    }
}

// Exactly what this registration writes, and nothing else: an earlier run's.
bool IsAlreadyWritten(const AppKeyBefore& before, const std::string& loader) {
    if (!before.exists || before.values.size() != 2)
        return false;
    for (const vk::RecordedValue& value : before.values) {
        const bool asWritten = (value.name == "LOADCTRLS" && value.type == vk::kRegDword &&
                                value.data == std::string("\x02\0\0\0", 4)) ||
                               (value.name == "LOADER" && value.type == vk::kRegSz &&
                                value.data.substr(0, value.data.find('\0')) == loader);
        if (!asWritten)
            return false;
    }
    return true;
}

}  // namespace

// Replaces the application key of `year` below each of that year's products.
// Failures skip the product concerned; they go into the log, and nothing is
// shown.
void CAcadReleaseCatalog::RegisterDemandLoad(unsigned year) {
    if (year < kFirstReleaseYear || year > kLastReleaseYear)
        return;
    const vk::Services& services = Services();
    vk::Log& log = services.log;
    const int releaseYear = static_cast<int>(year);
    // A truncated LOADER would name a file that is not there: write nothing.
    if (!vk::FitsMaxPath(vk::LoaderPath(m_strInstallDir, releaseYear))) {
        log.Failed("demand load for " + std::to_string(year) + ": the install folder " +
                       m_strInstallDir + " is too long for LOADER",
                   vk::kErrFilenameTooLong);
        return;
    }
    vk::IRegistry& registry = services.registry;
    vk::RegKey machine(registry);
    if (const vk::OsResult result = machine.OpenRoot(vk::RegRoot::LocalMachine);
        result != vk::kOk) {
        log.Failed("open HKEY_LOCAL_MACHINE for the demand load of " + std::to_string(year),
                   result);
        return;
    }

    const std::string appKeyName = vk::ApplicationKeyName(releaseYear);
    const std::string loader = vk::LoaderPath(m_strInstallDir, releaseYear);
    for (const std::string& productPath : m_arrProductKeys[year - kFirstReleaseYear]) {
        const std::string product = vk::WithoutTrailingBackslash(services.codePage, productPath);
        const std::string where = "HKLM\\" + product + "\\" + appKeyName;
        vk::RegKey productKey(registry);
        if (const vk::OsResult result = productKey.Open(machine.Get(), product);
            result != vk::kOk) {
            log.Failed("open the product key HKLM\\" + product, result);
            continue;
        }
        const std::string before = OldValues(registry, productKey.Get(), appKeyName);
        if (m_pRecord != nullptr) {
            AppKeyBefore old;
            if (const vk::OsResult read = ReadAppKey(registry, productKey.Get(), appKeyName, old);
                read != vk::kOk) {
                log.Failed("read " + where + " as it is; left as it is", read);
                continue;
            }
            if (!IsAlreadyWritten(old, loader)) {
                const vk::OsResult entered = m_pRecord->Add(vk::DemandLoadWritten{
                    product, appKeyName, loader, old.exists, !old.parentExists, old.values});
                if (entered != vk::kOk) {
                    log.Failed("enter " + where + " in the installation record", entered);
                    continue;
                }
            }
        }
        registry.DeleteKey(productKey.Get(), appKeyName);  // an earlier installation's; may fail
        vk::RegKey app(registry);
        if (const vk::OsResult result = app.Create(productKey.Get(), appKeyName);
            result != vk::kOk) {
            log.Failed("create " + where, result);
            continue;
        }
        const vk::OsResult dword = registry.SetDword(app.Get(), "LOADCTRLS", 2);
        const vk::OsResult text = registry.SetString(app.Get(), "LOADER", loader);
        if (dword != vk::kOk)
            log.Failed("write LOADCTRLS in " + where, dword);
        if (text != vk::kOk)
            log.Failed("write LOADER in " + where, text);
        if (dword == vk::kOk && text == vk::kOk) {
            log.Info("Demand load " + where + ": was " + before + "; now LOADCTRLS 2, LOADER \"" +
                     loader + "\"");
        }
    }
}
