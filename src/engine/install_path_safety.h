#pragma once
// Whether the folders of an install path are what they seem and stay so: no
// link among them, and none that a standard user could replace. AutoCAD
// trusts the product folder and loads the add-in from it at every start, an
// administrator's session included.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/services.h"

namespace vk {

// Access rights (winnt.h) by which a standard user could put another folder
// in the place of a folder of the path.
inline constexpr std::uint32_t kRightDelete = 0x10000;      // DELETE: delete or rename it
inline constexpr std::uint32_t kRightWriteDac = 0x40000;    // WRITE_DAC: give themselves any right
inline constexpr std::uint32_t kRightWriteOwner = 0x80000;  // WRITE_OWNER: take it over
// FILE_DELETE_CHILD: delete or rename any entry inside it, whatever that entry's own rights.
inline constexpr std::uint32_t kRightDeleteChild = 0x40;
inline constexpr std::uint32_t kReplacingRights =
    kRightDelete | kRightWriteDac | kRightWriteOwner | kRightDeleteChild;
// FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY: in the product folder itself, a
// user who may add entries may have planted a library beside the add-in's.
inline constexpr std::uint32_t kRightAddFile = 0x2;
inline constexpr std::uint32_t kRightAddSubfolder = 0x4;

// A symbolic link or a junction, by its reparse tag. Other reparse points
// (cloud-file placeholders, deduplicated files) are the data they hold, not
// links. Tag 0 counts as a link: Windows never gives a reparse point that
// tag (IO_REPARSE_TAG_RESERVED_ZERO), and Wine 8, which gives no tags at
// all, shows only Unix symbolic links as reparse points.
bool IsLink(const FindEntry& entry);

// The first folder of `installDir` below its drive root, the product folder
// included, that exists and is a link; nothing when none is.
std::optional<std::string> FindLinkOnPath(const Services& services, const std::string& installDir);

// Why a standard user could replace a folder above the product folder.
struct ReplaceableFolder {
    std::string folder;
    bool foreignOwner = false;      // not Administrators, SYSTEM, TrustedInstaller or this account
    bool unreadable = false;        // its owner and rights could not be read
    std::uint32_t rights = 0;       // the kReplacingRights a standard user holds on it
    bool rootDeletesChild = false;  // its drive root lets them delete or rename it

    bool operator==(const ReplaceableFolder&) const = default;
};

// The first existing folder of `chosenFolder` below its drive root (the
// chosen folder itself included: it holds the product folder), or the
// product folder when it exists, that a standard user could replace or, for
// the product folder, add to. Such a folder is one
//   - whose owner is not a safe one: an owner may always rewrite its DACL;
//   - on which Users, Authenticated Users or Everyone hold DELETE, WRITE_DAC,
//     WRITE_OWNER or FILE_DELETE_CHILD (see kReplacingRights); the last lets
//     them rename the next folder of the path away, the product folder too;
//   - the top one, when those groups hold FILE_DELETE_CHILD on the drive
//     root. The root itself cannot be replaced and is not judged otherwise.
// Adding files or folders is not counted above the product folder: a new
// entry cannot take the place of one that exists. In the product folder it
// is: what was added there would be loaded beside the add-in. Folders that
// do not exist yet are made, protected, by the installation.
std::optional<ReplaceableFolder> FindReplaceableFolder(const Services& services,
                                                       const std::string& chosenFolder);

}  // namespace vk
