#include "engine/journal/anchor.h"

#include <array>
#include <cstdint>

#include "acad/registry_access.h"
#include "core/digest.h"
#include "core/reg_key.h"
#include "engine/apps_features.h"
#include "engine/machine_key.h"

namespace vk {
namespace {

constexpr const char* kRecordIdValue = "RecordId";
// "<lines> <hash>": one value, so that it is written whole or not at all.
constexpr const char* kRecordSealValue = "RecordSeal";
constexpr const char* kPendingFoldersValue = "PendingFolders";
// No folder name holds it.
constexpr char kFolderSeparator = '|';

std::optional<std::string> ReadText(const Services& services, RegHandle key, const char* name) {
    std::u16string text;
    std::uint32_t type = 0;
    if (ReadTextValue(services.registry, key, name, text, type) != kOk || type != kRegSz)
        return std::nullopt;
    return services.codePage.ToAnsi(text);
}

// Writes `texts` (a text by name; empty: the value goes) into the key.
OsResult WriteTexts(const Services& services,
                    std::initializer_list<std::pair<const char*, std::string>> texts,
                    const char* what) {
    RegKey key(services.registry);
    OsResult result = CreateMachineKey(services, kAppsFeaturesKey, key);
    for (const auto& [name, text] : texts) {
        if (result != kOk)
            break;
        result = text.empty() ? services.registry.DeleteValue(key.Get(), name)
                              : services.registry.SetText(key.Get(), name, kRegSz,
                                                          services.codePage.ToWide(text));
        result = result == kErrFileNotFound ? kOk : result;
    }
    if (result != kOk) {
        services.log.Failed("write " + std::string(what) + " into HKLM\\" + kAppsFeaturesKey,
                            result);
    }
    return result;
}

}  // namespace

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

std::optional<RecordAnchor> ReadRecordAnchor(const Services& services) {
    RegKey machine(services.registry);
    RegKey key(services.registry);
    if (machine.OpenRoot(RegRoot::LocalMachine) != kOk ||
        key.OpenForRead(machine.Get(), kAppsFeaturesKey) != kOk) {
        return std::nullopt;
    }
    const std::optional<std::string> id = ReadText(services, key.Get(), kRecordIdValue);
    if (!id || !IsRecordId(*id))
        return std::nullopt;
    RecordAnchor anchor{*id, std::nullopt, {}};
    if (const std::optional<std::string> seal = ReadText(services, key.Get(), kRecordSealValue)) {
        const std::size_t blank = seal->find(' ');
        const std::string lines = seal->substr(0, blank);
        if (blank != std::string::npos && !lines.empty() && lines.size() < 12 &&
            lines.find_first_not_of("0123456789") == std::string::npos) {
            anchor.seal = RecordSeal{std::stoull(lines), seal->substr(blank + 1)};
        } else {
            anchor.seal = RecordSeal{~0ull, ""};  // unreadable: matches no record
        }
    }
    std::string pending = ReadText(services, key.Get(), kPendingFoldersValue).value_or("");
    for (std::size_t start = 0; start < pending.size();) {
        const std::size_t end = std::min(pending.find(kFolderSeparator, start), pending.size());
        anchor.pendingFolders.push_back(pending.substr(start, end - start));
        start = end + 1;
    }
    return anchor;
}

OsResult WriteRecordAnchor(const Services& services, const std::string& id,
                           const std::string& productDir) {
    const OsResult result = WriteTexts(
        services, {{kRecordIdValue, id}, {"InstallLocation", productDir}, {kRecordSealValue, ""}},
        "the installation record's identifier");
    if (result == kOk) {
        services.log.Info("The installation record's identifier " + id + " is in HKLM\\" +
                          kAppsFeaturesKey);
    }
    return result;
}

OsResult WritePendingFolders(const Services& services, const std::vector<std::string>& folders) {
    std::string joined;
    for (const std::string& folder : folders)
        joined += (joined.empty() ? "" : std::string(1, kFolderSeparator)) + folder;
    return WriteTexts(services, {{kPendingFoldersValue, joined}}, "the folders to be made");
}

OsResult WriteRecordSeal(const Services& services, const RecordSeal& seal) {
    return WriteTexts(services, {{kRecordSealValue, std::to_string(seal.lines) + ' ' + seal.hash}},
                      "the record's seal");
}

}  // namespace vk
