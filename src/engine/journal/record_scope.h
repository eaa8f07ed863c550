#pragma once
// The places an installation writes, and nothing else. A record line that
// names another place was not written by an installation: it makes the
// record damaged, and nothing of it is undone, whoever wrote it and however
// well its check fits. The places:
//   - the product folder and what is in it, and the folders above it that
//     an installation makes (the levels of the chosen folder);
//   - a settings file "Varnok\Varnok.Ini" and its folder in an account's
//     application-data folder (undone only in the account that runs the
//     undo, undo.h);
//   - the fonts and the plotter file in an AutoCAD folder's Fonts and Drv
//     (undone only in AutoCAD folders that discovery finds, undo.h);
//   - demand-load keys below the AutoCAD product keys of HKEY_LOCAL_MACHINE;
//   - TRUSTEDPATHS in the Variables keys of users' AutoCAD profiles;
//   - the Apps & Features entry and the Active Setup component.
#include <string>

#include "engine/journal/record.h"
#include "platform/codepage.h"

namespace vk {

// Empty when `entry` of the record in `productDir` names only such places;
// otherwise what it names that is not one, for the log.
std::string PlaceOutsideInstallation(const ICodePage& codePage, const std::string& productDir,
                                     const RecordEntry& entry);

// Whether `path` is `folder` itself (`orSame`) or inside it, compared
// without regard to case, a character at a time.
bool IsInsideFolder(const ICodePage& codePage, const std::string& path, const std::string& folder,
                    bool orSame = false);

// The AutoCAD installation folder of a support file recorded at `path`
// ("<folder>\Fonts\Varnok_EN.shx"); empty when it is not one.
std::string AcadFolderOfSupportFile(const ICodePage& codePage, const std::string& path);

}  // namespace vk
