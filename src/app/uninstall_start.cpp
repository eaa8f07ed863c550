#include "app/uninstall_start.h"

#include <cstdint>
#include <optional>

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "engine/apps_features.h"
#include "engine/install_paths.h"
#include "engine/setup_message.h"

namespace vk {
namespace {

// A taken name is drawn again; this many taken names in a row is no accident.
constexpr int kNameAttempts = 8;

constexpr const char* kNoInstallationText =
    "在“应用和功能”中找不到 Varnok批打印软件 的安装。\n\n卸载程序没有删除任何内容。";

OsResult RandomFolderName(IRandom& random, std::string& name) {
    std::uint8_t bytes[kUninstallCopyNameBytes] = {};
    if (const OsResult result = random.Fill(bytes, sizeof bytes); result != kOk)
        return result;
    constexpr char kDigits[] = "0123456789abcdef";
    name = "Varnok-";
    for (const std::uint8_t byte : bytes) {
        name += kDigits[byte >> 4];
        name += kDigits[byte & 0x0F];
    }
    return kOk;
}

}  // namespace

int FindInstallationToRemove(const Services& services, std::string& productDir) {
    const std::optional<std::string> registered = InstalledProductDir(services);
    if (!registered) {
        return Tell(services,
                    "no Apps & Features entry HKLM\\" + std::string(kAppsFeaturesKey) +
                        " names an installation; nothing removed",
                    kNoInstallationText, kMbOk | kMbIconStop, kExitCannotStart);
    }
    productDir = *registered;
    return kExitFinished;
}

OsResult CopyUninstaller(const Services& services, const std::string& tempFolder,
                         UninstallerCopy& copy) {
    IFileSystem& files = services.files;
    std::string self;
    if (const OsResult result = files.GetModulePath(self); result != kOk) {
        services.log.Failed("find the uninstaller's own file", result);
        return result;
    }
    OsResult made = kErrAlreadyExists;
    for (int attempt = 0; attempt < kNameAttempts && made == kErrAlreadyExists; ++attempt) {
        std::string name;
        if (const OsResult result = RandomFolderName(services.random, name); result != kOk) {
            services.log.Failed("draw a name for the uninstaller's temporary folder", result);
            return result;
        }
        copy.folder = JoinPath(tempFolder, name);
        made = files.CreateFolderWithSecurity(copy.folder, kUninstallCopyFolderSddl);
        if (made == kErrAlreadyExists)
            services.log.Info(copy.folder + " exists already; another name is drawn");
    }
    if (made != kOk) {
        services.log.Failed("create the uninstaller's temporary folder " + copy.folder, made);
        return made;
    }
    copy.program = JoinPath(copy.folder, kUninstallCopyFileName);
    if (const OsResult copied = files.CopyFileNew(self, copy.program); copied != kOk) {
        services.log.Failed("copy the uninstaller to " + copy.program, copied);
        RemoveUninstallerCopy(services, copy);
        return copied;
    }
    services.log.Info("The uninstaller copied to " + copy.program +
                      " (a new folder only SYSTEM and Administrators may enter)");
    return kOk;
}

void RemoveUninstallerCopy(const Services& services, const UninstallerCopy& copy) {
    services.files.RemoveFile(copy.program);
    services.files.RemoveEmptyFolder(copy.folder);
}

}  // namespace vk
