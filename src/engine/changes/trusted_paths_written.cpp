#include "engine/changes/trusted_paths_written.h"

#include "acad/registry_access.h"
#include "core/reg_key.h"
#include "engine/journal/record_values.h"
#include "engine/trusted_paths.h"
#include "engine/user_hives.h"

namespace vk {
namespace {

constexpr const char* kTrustedPathsValue = "TRUSTEDPATHS";

}  // namespace

void TrustedPathsWritten::Undo(UndoContext& context) const {
    const Services& s = context.services;
    IRegistry& registry = s.registry;
    // An empty user: a record of the time when only the account that ran
    // the installation got the trusted path.
    const UserHive hive{user, std::nullopt};
    const std::string where = "TRUSTEDPATHS in " + hive.Name() + "\\" + variablesKey;
    RegKey root(registry);
    RegKey variables(registry);
    if (const OsResult result = OpenUserHive(registry, hive, root); result != kOk) {
        if (result != kErrFileNotFound)
            return context.Failed("open " + hive.Name(), result);
        // Nobody can reach a hive that is not loaded: the user keeps the entry.
        return s.log.Info("Left " + where + ": the user is not signed in");
    }
    if (const OsResult result = variables.Open(root.Get(), variablesKey); result != kOk) {
        if (result != kErrFileNotFound)
            context.Failed("open the key of " + where, result);
        return;
    }
    std::u16string current;
    std::uint32_t type = 0;
    const OsResult read = ReadTextValue(registry, variables.Get(), kTrustedPathsValue, current, type);
    if (read != kOk && read != kErrFileNotFound)
        return context.Failed("read " + where, read);
    const bool textType = type == kRegSz || type == kRegExpandSz;
    if (read == kOk && type == written.type && current == WideTextOf(written.data)) {
        // As the installation left it: back to what it was.
        const OsResult result = before ? registry.SetText(variables.Get(), kTrustedPathsValue,
                                                          before->type, WideTextOf(before->data))
                                       : registry.DeleteValue(variables.Get(), kTrustedPathsValue);
        if (result != kOk)
            return context.Failed("restore " + where, result);
        s.log.Info("Restored " + where);
    } else if (read == kOk && textType) {
        // Changed since: only the add-in's entry goes, the rest as it is now.
        const std::u16string without =
            WithoutTrustedPath(current, s.codePage.ToWide(folder), s.codePage);
        if (without != current) {
            const OsResult result =
                without.empty() && !before
                    ? registry.DeleteValue(variables.Get(), kTrustedPathsValue)
                    : registry.SetText(variables.Get(), kTrustedPathsValue, type, without);
            if (result != kOk)
                return context.Failed("remove " + folder + " from " + where, result);
        }
        s.log.Info(where + " was changed after the installation; only " + folder +
                   " was taken out of it");
    }
    if (keyCreated && IsEmptyKey(registry, variables.Get())) {
        variables.Reset();
        registry.DeleteKey(root.Get(), variablesKey);
    }
}

}  // namespace vk
