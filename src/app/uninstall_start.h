#pragma once
// What the uninstaller settles before the uninstall itself runs: which
// installation it takes away (the one Apps & Features names, never the folder
// the uninstaller happens to start from), and the copy of itself that does
// the work, which must not be something a standard user can plant or swap.
// Portable: the front end starts the copy and hands in %TEMP%.
#include <string>

#include "platform/services.h"

namespace vk {

// The copy's folder: only SYSTEM and Administrators, files and subfolders
// inheriting it, nothing inherited from %TEMP% (under SYSTEM that is
// C:\Windows\Temp, where every user may create files and folders).
inline constexpr const char* kUninstallCopyFolderSddl = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// The copy's own name, apart from the uninstaller's: it is not started from
// the product folder.
inline constexpr const char* kUninstallCopyFileName = "VarnokUninstall.exe";
// Random bytes in the copy's folder name: 128 bits, never guessed beforehand.
inline constexpr std::size_t kUninstallCopyNameBytes = 16;

// The product folder of the installation to take away, from its Apps &
// Features entry, into `productDir`: kExitFinished, or (after saying that no
// installation is registered, which removes nothing) kExitCannotStart.
int FindInstallationToRemove(const Services& services, std::string& productDir);

struct UninstallerCopy {
    std::string folder;   // "<temp>\Varnok-<32 hex digits>"
    std::string program;  // "<folder>\VarnokUninstall.exe"
};

// Copies the running program into a new folder with a random name in
// `tempFolder`, made with kUninstallCopyFolderSddl from its first moment; a
// name that exists already (whoever made it) is never used, another is drawn.
// The copy goes only into a name that does not exist. kOk, or the failure
// (logged; nothing is left behind).
OsResult CopyUninstaller(const Services& services, const std::string& tempFolder,
                         UninstallerCopy& copy);

// Removes a copy that was not started, and its folder.
void RemoveUninstallerCopy(const Services& services, const UninstallerCopy& copy);

}  // namespace vk
