#pragma once
// The folder picker's rules for a typed install folder: which names and paths
// are valid, creating a path level by level, and the question and warnings
// around that. Plain logic over a path and the OS services.
#include <functional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vk {

// Makes one missing folder of a path; kOk or the failure. Empty: the file
// system's plain CreateFolder.
using FolderMaker = std::function<OsResult(const std::string&)>;

// Results shared by CreateFolderPath and MakeSurePathExists.
inline constexpr int kPathOk = 0;
inline constexpr int kPathInvalid = 1;
inline constexpr int kPathCannotCreate = 2;
inline constexpr int kPathDeclined = -1;

// True when `path` holds ";". AutoCAD's TRUSTEDPATHS separates its folders
// with ";", so such a folder would be trusted as its pieces: for
// C:\Users\Public;x, the folder C:\USERS\PUBLIC that every user may write
// to, and a relative X. Every way of choosing the install folder refuses it
// before anything changes.
bool HoldsListSeparator(const std::string& path);

}  // namespace vk

// False for an empty name, a name that begins or ends with a tab, a blank or
// a dot, and a name that holds a control character (below 0x20, NUL too) or
// one of " * / : < > ? \ |. Checked by characters of the ANSI code page, so
// double-byte characters are allowed.
bool IsValidFolderName(const vk::ICodePage& codePage, const std::string& name);

// Checks an absolute drive-letter path ("C:\" or "C:\a\b", no trailing
// backslash after a folder name) and, unless `validateOnly`, creates every
// missing folder of it, adding each one it made to `created` (when given).
// kPathOk, kPathInvalid or kPathCannotCreate. Each folder is made by
// `makeFolder` when given.
int CreateFolderPath(const vk::Services& services, const std::string& path, bool validateOnly,
                     std::vector<std::string>* created = nullptr,
                     const vk::FolderMaker& makeFolder = {});

// Validates the path; when it does not exist, asks whether to create it and
// does, adding the folders it made to `created` (when given). Shows the
// invalid / cannot-create warnings itself, under `caption`.
// kPathOk, kPathDeclined, kPathInvalid or kPathCannotCreate.
int MakeSurePathExists(const vk::Services& services, const std::string& path,
                       const std::string& caption, std::vector<std::string>* created = nullptr,
                       const vk::FolderMaker& makeFolder = {});
