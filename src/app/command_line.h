#pragma once
// The setup's command line, as administrators know it from Inno Setup:
// switches start with / or -, names are compared without regard to case, and
// a value follows "=" (quoted when it holds blanks: /DIR="C:\CAD Tools").
// The whole line is parsed into one options value before any window exists.
#include <optional>
#include <string>
#include <vector>

namespace vk {

enum class RunMode {
    Wizard,      // the four pages
    Silent,      // no pages; a small progress window; questions still asked
    VerySilent,  // no window at all; questions still asked unless suppressed
};

struct SetupOptions {
    RunMode mode = RunMode::Wizard;
    bool suppressMessageBoxes = false;      // /SUPPRESSMSGBOXES: every question answered
    std::optional<std::string> folder;      // /DIR=: the chosen install folder
    std::optional<std::vector<int>> years;  // /RELEASES=: the years asked for; none: all offered
    bool log = false;                       // /LOG or /LOG=file
    std::string logFile;                    // empty: a new dated file in %TEMP%
    bool allowRunning = false;              // /ALLOWRUNNING
    bool help = false;                      // /? or /HELP
    bool uninstall = false;                 // /UNINSTALL: take the installation away
    // /USERSETUP: the per-user stub, run by Windows as each user at logon.
    bool userSetup = false;
    // /UNINSTALLCOPY=: set by the uninstaller for the copy of itself that does
    // the work ("<starter's process id>,<result pipe>").
    std::string uninstallCopy;

    bool Unattended() const { return mode != RunMode::Wizard; }
    // Whether a message box may be shown at all.
    bool MayAsk() const { return !(Unattended() && suppressMessageBoxes); }
};

struct ParsedCommandLine {
    SetupOptions options;
    std::string error;  // empty when the line is sound; else what is wrong, for the user
    bool ok() const { return error.empty(); }
};

// The arguments of a command line (without the program), split at blanks
// outside double quotes; the quotes themselves are dropped. Nothing when a
// quote is left open.
std::optional<std::vector<std::string>> SplitCommandLine(const std::string& arguments);

// `arguments`: the command line after the program's own name (WinMain's lpCmdLine).
ParsedCommandLine ParseCommandLine(const std::string& arguments);

// The text of the /? box: every switch and every exit code.
std::string CommandLineHelpText();

}  // namespace vk
