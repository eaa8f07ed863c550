#pragma once
// The "TRUSTEDPATHS" list of an AutoCAD profile: folders separated by ";".
#include <string>

#include "platform/codepage.h"

namespace vk {

// True when one entry of `list` names `folder`: equal without regard to case,
// after dropping one trailing backslash or AutoCAD's "\..." marker (the
// folder with its subfolders) from both.
// A folder whose name holds ";" must fill as many entries in a row.
bool TrustedPathsHold(const std::string& list, const std::string& folder, const ICodePage& cp);

// The list to write back: an empty list becomes `folder` as given; any other
// list is upper-cased and, unless it already holds the folder, gets ";" and
// the upper-cased folder appended. Nothing of the old list is lost.
std::string ComposeTrustedPaths(const std::string& oldList, const std::string& folder,
                                const ICodePage& cp);

}  // namespace vk
