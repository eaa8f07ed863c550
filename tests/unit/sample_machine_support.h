#pragma once
// The sample machine of the whole-installation tests (the fault matrix, the
// power cuts): two AutoCAD releases, an old font, an earlier demand-load
// key, three profiles; and everything on it that an installation may change,
// to compare before and after.
#include <map>
#include <memory>
#include <string>

#include "engine/installation.h"
#include "install_fixture_support.h"

namespace vk::test {

inline const std::string k2008 = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
inline const std::string k2018 = "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\";
inline const std::string k2018Acad = "D:\\Program Files\\Autodesk\\AutoCAD 2018\\";
inline const std::string kProfile = "<<未命名配置>>";
inline const std::string kAppsFeatures =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnokBatchPlot";
// A font of that name was there before: backed up, replaced, and restored by the undo.
inline const std::string kOldFont = k2018Acad + "Fonts\\Varnok_EN.shx";

// Everything on the machine that an installation may change, by name:
// registry keys and values of both roots (texts as the ANSI functions read
// them, whichever functions wrote them), folders and files of drives C: and
// D: with their attributes. The record's lines (and its seal) are not
// compared: what they lead to is.
using MachineState = std::map<std::string, std::string>;
MachineState StateOf(const InstallMachine& machine);

// The entries in which two states differ, one per line: what a failure shows.
std::string Differences(const MachineState& actual, const MachineState& expected);

// The sample: no install folder yet, a 32-bit 2008 and a 2018 (whose old
// demand-load key carries a value of its own, and whose Fonts folder holds a
// read-only font of an earlier installation), and three profiles: a short
// list, a list longer than the 13000-byte buffer, and one without a
// "Variables" key. Failed copies are answered by `answer`: Retry once, then
// Ignore; or always the answer given.
std::unique_ptr<InstallMachine> SampleMachine(int answer);

// As the install page runs it: the check, then the engine.
InstallOutcome InstallAll(InstallMachine& machine);

// The uninstall of what the record says, with the product folder (or the end
// of one cut short once the record was gone): the machine as `before`, but
// for the Active Setup component, which, if there, is the removal for users
// out of reach.
void ExpectUninstalledToBefore(InstallMachine& machine, const MachineState& before);

}  // namespace vk::test
