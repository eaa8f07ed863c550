// The setup's command line, any bytes: the parser takes only the switches
// the README documents, each with the value it documents, and every line of
// those alone (nothing given twice that takes a value, nothing that does not
// go together); a line it takes prints back to one that gives the same
// options; a line it refuses says why.
#include <algorithm>
#include <set>
#include <string>

#include "acad/release_table.h"
#include "app/command_line.h"
#include "fuzz_support.h"

namespace {

enum class Takes { Nothing, AValue, Either, Anything };

struct Documented {
    const char* name;
    Takes value;
};

// The README's table of switches, written out again here: Inno Setup's
// setup and uninstaller switches, and the setup's own (/UNINSTALLCOPY is
// the one the uninstaller gives the copy of itself, command_line.h).
constexpr Documented kDocumented[] = {
    {"SILENT", Takes::Nothing},
    {"VERYSILENT", Takes::Nothing},
    {"SUPPRESSMSGBOXES", Takes::Nothing},
    {"DIR", Takes::AValue},
    {"RELEASES", Takes::AValue},
    {"LOG", Takes::Either},
    {"SAVEINF", Takes::AValue},
    {"LOADINF", Takes::AValue},
    {"ALLOWRUNNING", Takes::Nothing},
    {"USERSETUP", Takes::Nothing},
    {"?", Takes::Nothing},
    {"HELP", Takes::Nothing},
    {"SP-", Takes::Nothing},
    {"NOSTYLE", Takes::Nothing},
    {"NORESTART", Takes::Nothing},
    {"RESTARTEXITCODE", Takes::AValue},
    {"NOCANCEL", Takes::Nothing},
    {"LANG", Takes::Anything},
    {"CLOSEAPPLICATIONS", Takes::Nothing},
    {"NOCLOSEAPPLICATIONS", Takes::Nothing},
    {"FORCECLOSEAPPLICATIONS", Takes::Nothing},
    {"NOFORCECLOSEAPPLICATIONS", Takes::Nothing},
    {"LOGCLOSEAPPLICATIONS", Takes::Nothing},
    {"RESTARTAPPLICATIONS", Takes::Nothing},
    {"NORESTARTAPPLICATIONS", Takes::Nothing},
    {"TASKS", Takes::Anything},
    {"MERGETASKS", Takes::Anything},
    {"COMPONENTS", Takes::Anything},
    {"TYPE", Takes::Anything},
    {"GROUP", Takes::Anything},
    {"NOICONS", Takes::Nothing},
    {"PASSWORD", Takes::Anything},
    {"ALLUSERS", Takes::Nothing},
    {"CURRENTUSER", Takes::Nothing},
    {"UNINSTALL", Takes::Nothing},
    {"UNINSTALLCOPY", Takes::AValue},
};

std::string Upper(std::string text) {
    for (char& c : text)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "all", or release years from the table separated by commas.
bool AreYears(const std::string& value) {
    if (Upper(value) == "ALL")
        return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        const std::string item = value.substr(start, comma - start);
        if (item.size() != 4 || !AllDigits(item) || std::stoi(item) < kFirstReleaseYear ||
            std::stoi(item) > kLastReleaseYear) {
            return false;
        }
        if (comma == value.size())
            return true;
        start = comma + 1;
    }
}

// Whether a part of the line is a documented switch with a value it takes;
// `name` is its upper-case name.
bool IsDocumented(const std::string& part, std::string& name) {
    if (part.size() < 2 || (part[0] != '/' && part[0] != '-'))
        return false;
    const std::size_t equals = part.find('=');
    name = Upper(part.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? part.substr(equals + 1) : "";
    for (const Documented& documented : kDocumented) {
        if (name != documented.name)
            continue;
        switch (documented.value) {
            case Takes::Nothing:
                return !hasValue;
            case Takes::AValue:
                if (!hasValue || value.empty())
                    return false;
                return name == "RELEASES"          ? AreYears(value)
                       : name == "RESTARTEXITCODE" ? AllDigits(value)
                                                   : true;
            case Takes::Either:
                return !hasValue || !value.empty();
            case Takes::Anything:
                return true;
        }
    }
    return false;
}

bool HasAValue(const std::string& name) {
    for (const Documented& documented : kDocumented) {
        if (name == documented.name)
            return documented.value == Takes::AValue || documented.value == Takes::Either;
    }
    return false;
}

// Everything the options say, but the notes for the log.
bool SameEffect(const vk::SetupOptions& a, const vk::SetupOptions& b) {
    return a.mode == b.mode && a.suppressMessageBoxes == b.suppressMessageBoxes &&
           a.folder == b.folder && a.years == b.years && a.log == b.log && a.logFile == b.logFile &&
           a.loadInf == b.loadInf && a.saveInf == b.saveInf && a.allowRunning == b.allowRunning &&
           a.help == b.help && a.uninstall == b.uninstall && a.userSetup == b.userSetup &&
           a.uninstallCopy == b.uninstallCopy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::string line = input.Rest();

    const vk::SplitLine split = vk::SplitCommandLine(line);
    for (const std::string& part : split.parts)
        FUZZ_CHECK(part.find('"') == std::string::npos);  // the quotes are dropped
    const vk::ParsedCommandLine parsed = vk::ParseCommandLine(line);
    // A refusal says why, to the person and to the log.
    FUZZ_CHECK(parsed.ok() == parsed.reason.empty());

    // Which lines are sound, from the README alone.
    bool documented = !split.quoteLeftOpen;
    std::set<std::string> valued;
    bool uninstall = false;
    bool uninstallCopy = false;
    bool installOnly = false;
    for (const std::string& part : split.parts) {
        std::string name;
        if (!IsDocumented(part, name)) {
            documented = false;
            continue;
        }
        if (HasAValue(name) && !valued.insert(name).second)
            documented = false;  // which of two values would count is left open
        uninstall = uninstall || name == "UNINSTALL";
        uninstallCopy = uninstallCopy || name == "UNINSTALLCOPY";
        const bool allYears = name == "RELEASES" && Upper(part.substr(part.find('=') + 1)) == "ALL";
        installOnly = installOnly || name == "DIR" || name == "LOADINF" || name == "SAVEINF" ||
                      (name == "RELEASES" && !allYears);
    }
    documented = documented && !(uninstall && installOnly) && (uninstall || !uninstallCopy);
    FUZZ_CHECK(parsed.ok() == documented);
    if (!parsed.ok())
        return 0;

    // What it took prints back to a line that gives the same, and prints
    // back again the same way.
    const std::string printed = vk::CommandLineOf(parsed.options);
    const vk::ParsedCommandLine again = vk::ParseCommandLine(printed);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(SameEffect(again.options, parsed.options));
    FUZZ_CHECK(vk::CommandLineOf(again.options) == printed);
    return 0;
}
