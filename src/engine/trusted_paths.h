#pragma once
// The "TRUSTEDPATHS" list of an AutoCAD profile: folders separated by ";".
//
// The list comes in two forms with one set of rules: UTF-16, as the wide
// registry functions keep it (what the installation reads and writes, so
// that no character is lost), and ANSI text of the code page, as the ANSI
// functions give it. For a list whose characters, and their capitals, all lie
// in the code page both forms give the same result.
#include <string>

#include "platform/codepage.h"

namespace vk {

// True when one entry of `list` names `folder`: equal without regard to case,
// after dropping one trailing backslash or AutoCAD's "\..." marker (the
// folder with its subfolders) from both.
// A folder whose name holds ";" must fill as many entries in a row.
bool TrustedPathsHold(const std::string& list, const std::string& folder, const ICodePage& cp);
bool TrustedPathsHold(const std::u16string& list, const std::u16string& folder,
                      const ICodePage& cp);

// The list to write back: an empty list becomes `folder` as given; any other
// list is upper-cased and, unless it already holds the folder, gets ";" and
// the upper-cased folder appended. Nothing of the old list is lost.
// Upper-casing in UTF-16 changes a character only when the code page has
// both it and its capital (an e with acute accent, whose capital it lacks,
// stays), as the ANSI upper-casing of the code page would have it.
std::string ComposeTrustedPaths(const std::string& oldList, const std::string& folder,
                                const ICodePage& cp);
std::u16string ComposeTrustedPaths(const std::u16string& oldList, const std::u16string& folder,
                                   const ICodePage& cp);

// `list` without the entries that name `folder` (by the rule of
// TrustedPathsHold), every other entry kept in its order.
std::u16string WithoutTrustedPath(const std::u16string& list, const std::u16string& folder,
                                  const ICodePage& cp);

}  // namespace vk
