#include "engine/record_anchor.h"

#include <array>
#include <cstdint>

#include "core/digest.h"
#include "core/reg_key.h"
#include "engine/apps_features.h"
#include "engine/machine_key.h"

namespace vk {

std::optional<std::string> NewRecordId(const Services& services) {
    std::array<std::uint8_t, kRecordIdBytes> bytes{};
    if (const OsResult result = services.random.Fill(bytes.data(), bytes.size()); result != kOk) {
        services.log.Failed("make the installation record's identifier", result);
        return std::nullopt;
    }
    return ToHex(std::string(bytes.begin(), bytes.end()));
}

bool IsRecordId(const std::string& text) {
    return text.size() == 2 * kRecordIdBytes &&
           text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::optional<std::string> AnchoredRecordId(const Services& services) {
    IRegistry& registry = services.registry;
    RegKey machine(registry);
    RegKey key(registry);
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        key.OpenForRead(machine.Get(), kAppsFeaturesKey) != kOk) {
        return std::nullopt;
    }
    std::size_t size = 0;
    std::u16string id;
    std::uint32_t type = 0;
    if (registry.QueryTextSize(key.Get(), kRecordIdValue, size) != kOk ||
        registry.QueryText(key.Get(), kRecordIdValue, size, id, type) != kOk || type != kRegSz) {
        return std::nullopt;
    }
    const std::string text = services.codePage.ToAnsi(id);
    return IsRecordId(text) ? std::optional<std::string>(text) : std::nullopt;
}

OsResult WriteRecordAnchor(const Services& services, const std::string& id,
                           const std::string& productDir) {
    RegKey key(services.registry);
    OsResult result = CreateMachineKey(services, kAppsFeaturesKey, key);
    if (result != kOk)
        return result;
    result =
        services.registry.SetText(key.Get(), kRecordIdValue, kRegSz, services.codePage.ToWide(id));
    if (result == kOk) {
        result = services.registry.SetText(key.Get(), "InstallLocation", kRegSz,
                                           services.codePage.ToWide(productDir));
    }
    if (result != kOk) {
        services.log.Failed("write the installation record's identifier into HKLM\\" +
                                std::string(kAppsFeaturesKey),
                            result);
        return result;
    }
    services.log.Info("The installation record's identifier " + id + " is in HKLM\\" +
                      kAppsFeaturesKey);
    return kOk;
}

}  // namespace vk
