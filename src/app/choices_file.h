#pragma once
// The choices file of /SAVEINF and /LOADINF, as Inno Setup's: an INI file
//
//   [Setup]
//   Dir=C:\Varnok
//   Releases=2018,2021
//
// in UTF-8 (written with a byte-order mark; one without is read too, and a
// file that is not UTF-8 is taken as the system's code page, as Notepad saves
// it). An administrator records the wizard's choices once and replays them
// on other machines. Inno Setup's own keys (Lang, Group, NoIcons, Setup Type,
// Components, Tasks) are read and left alone, so a file made for an Inno
// setup reads too; any other content is an error.
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/services.h"

namespace vk {

struct Choices {
    std::optional<std::string> folder;      // Dir: the chosen install folder
    std::optional<std::vector<int>> years;  // Releases: none means all offered
};

// The file's text for a folder and the years ticked.
std::string ChoicesText(const ICodePage& codePage, const std::string& folder,
                        const std::vector<int>& years);

// The choices in `content`; false, with what is wrong in English, when it is
// not a choices file.
bool ParseChoices(const ICodePage& codePage, const std::string& content, Choices& choices,
                  std::string& wrong);

// /LOADINF: reads the file and fills what the command line left open (its
// own /DIR and /RELEASES count first); a folder it takes from the file is
// checked by the plan's folder rules (CheckChosenFolder), as /DIR is.
// kExitFinished, or kExitCannotStart after saying why, before anything
// changed (`options` as they were).
int LoadChoices(const Services& services, SetupOptions& options);

// /SAVEINF: writes the file anew (never through a link, nor into a folder
// of that name). kOk, or the failure (logged).
OsResult SaveChoices(const Services& services, const std::string& path, const std::string& folder,
                     const std::vector<int>& years);

}  // namespace vk
