#include "engine/per_user_steps.h"

#include "engine/data_files.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"
#include "engine/trusted_paths_registration.h"

namespace vk {

void PlaceSettingsFile(const Services& services, const UserHive& hive,
                       const std::string& productDir, RecordWriter* record) {
    IFileSystem& files = services.files;
    const std::string source = JoinPath(productDir, kSettingsFile);
    if (files.GetAttributes(source) == kInvalidAttributes) {
        services.log.Skipped("the settings file for " + hive.Name() + ": " + source +
                             " cannot be read (the package has none)");
        return;
    }
    if (!hive.appData) {
        services.log.Skipped("the settings file for " + hive.Name() +
                             ": its application-data folder cannot be told");
        return;
    }
    const std::string folder = JoinPath(*hive.appData, kSettingsFolderName);
    const std::string destination = JoinPath(folder, kSettingsFile);
    if (!FitsMaxPath(destination)) {
        services.log.Failed("place the settings file at " + destination, kErrFilenameTooLong);
        return;
    }
    if (files.GetAttributes(destination) != kInvalidAttributes) {
        services.log.Info("Kept " + destination + ": the user's own settings");
        return;
    }
    // One group: the folder (when it is made) and the file, then what it holds.
    const bool makeFolder = files.GetAttributes(folder) == kInvalidAttributes;
    OsResult result = kOk;
    if (record != nullptr) {
        if (makeFolder)
            record->Stage(FolderCreated{folder});
        record->Stage(FilePlaced{destination, ""});
        result = record->Flush();
    }
    if (result == kOk && makeFolder)
        result = files.CreateFolder(folder);
    if (result != kOk) {
        services.log.Failed("create the folder " + folder, result);
        return;
    }
    FileDigest written;
    result = PlaceCopy(services, source, destination, false, &written);
    if (result == kOk && record != nullptr) {
        record->Stage(FileWrote{destination, written.size, written.hash});
        result = record->Flush();
    }
    if (result != kOk) {
        services.log.Failed("copy " + source + " to " + destination, result);
        return;
    }
    services.log.Info("Copied " + source + " to " + destination);
}

void ApplyToLoadedUsers(const Services& services, const std::string& productDir,
                        RecordWriter& record) {
    for (const UserHive& hive : LoadedUserHives(services)) {
        services.log.Info("Trusted paths for " + hive.Name());
        RegisterTrustedPathsFor(services, hive, productDir, &record);
    }
}

void PlaceOwnSettingsFile(const Services& services, const std::string& productDir,
                          bool runsAsSystem, RecordWriter& record) {
    if (runsAsSystem) {
        services.log.Info("No settings file for SYSTEM, whose profile no AutoCAD user has");
    } else {
        PlaceSettingsFile(services, CurrentUserHive(services), productDir, &record);
    }
    services.log.Info(
        "Other users get the settings file from the per-user setup at their next logon");
}

}  // namespace vk
