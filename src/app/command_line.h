#pragma once
// The setup's command line, as administrators know it from Inno Setup:
// switches start with / or -, names are compared without regard to case, and
// a value follows "=" (quoted when it holds blanks: /DIR="C:\CAD Tools").
// Every switch Inno Setup documents for its setup and its uninstaller is
// taken, those that name nothing this setup has with a note for the log, so
// that the command lines deployment tools build run as they are. The whole
// line is parsed into one options value before any window exists.
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
    std::string loadInf;                    // /LOADINF=: choices to start from
    std::string saveInf;                    // /SAVEINF=: where to write the choices made
    bool allowRunning = false;              // /ALLOWRUNNING
    bool help = false;                      // /? or /HELP
    bool uninstall = false;                 // /UNINSTALL: take the installation away
    // /USERSETUP: the per-user stub, run by Windows as each user at logon.
    bool userSetup = false;
    // /UNINSTALLCOPY=: set by the uninstaller for the copy of itself that does
    // the work ("<starter's process id>,<result pipe>").
    std::string uninstallCopy;
    // For the log, in English: each switch taken that changes nothing here, and why.
    std::vector<std::string> notes;

    bool Unattended() const { return mode != RunMode::Wizard; }
    // Whether a message box may be shown at all.
    bool MayAsk() const { return !(Unattended() && suppressMessageBoxes); }
};

struct ParsedCommandLine {
    // As far as the line could be read, also when it is not sound: a /LOG or
    // /VERYSILENT given anywhere still counts for saying what is wrong.
    SetupOptions options;
    std::string error;   // empty when the line is sound; else everything wrong, for the user
    std::string reason;  // the same in English, for the log
    bool ok() const { return error.empty(); }
};

struct SplitLine {
    std::vector<std::string> parts;
    bool quoteLeftOpen = false;  // then the last part runs to the end of the line
};

// The arguments of a command line (without the program), split at blanks
// outside double quotes; the quotes themselves are dropped.
SplitLine SplitCommandLine(const std::string& arguments);

// `arguments`: the command line after the program's own name (WinMain's lpCmdLine).
ParsedCommandLine ParseCommandLine(const std::string& arguments);

// The switches that give `options`, as ParseCommandLine reads them back (a
// value in double quotes; none that the parser gives holds one), for the log.
// Switches that change nothing here (their notes) are left out.
std::string CommandLineOf(const SetupOptions& options);

// Years of "2018,2021" for /RELEASES and the choices file, sorted, each once;
// "all" gives none (every year offered). False for anything else.
bool ParseReleaseYears(const std::string& value, std::optional<std::vector<int>>& years,
                       std::string& wrongItem);

// The whole command line for the log, as Windows gives it (wide), with the
// value of a /PASSWORD= switch not written out.
std::u16string CommandLineForLog(const std::u16string& commandLine);

// The text of the /? box: every switch and every exit code.
std::string CommandLineHelpText();

}  // namespace vk
