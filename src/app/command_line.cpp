#include "app/command_line.h"

#include <algorithm>
#include <set>
#include <utility>

#include "acad/release_catalog.h"

namespace vk {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A release year as /RELEASES takes it: four digits of a year the setup knows.
std::optional<int> ParseYear(const std::string& text) {
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int year = std::stoi(text);
    if (year < kFirstReleaseYear || year > kLastReleaseYear)
        return std::nullopt;
    return year;
}

enum class Value {
    None,      // a flag: /SILENT
    Required,  // /DIR=...
    Any,       // with or without one, empty too: taken and left alone
};

// What a switch does here. Own: read below. The others change nothing, and
// `note` says why in the log.
struct SwitchSpec {
    const char* name;  // upper case, without its / or -
    Value value;
    const char* note;  // nullptr: the setup's own
};

constexpr const char* kNeverCloses =
    "AutoCAD is never closed or restarted by this setup; a running AutoCAD is handled as "
    "without it";

// Inno Setup's documented setup and uninstaller switches, then the setup's own.
const SwitchSpec kSwitches[] = {
    {"HELP", Value::None, nullptr},
    {"?", Value::None, nullptr},
    {"SILENT", Value::None, nullptr},
    {"VERYSILENT", Value::None, nullptr},
    {"SUPPRESSMSGBOXES", Value::None, nullptr},
    {"LOG", Value::Any, nullptr},
    {"DIR", Value::Required, nullptr},
    {"LOADINF", Value::Required, nullptr},
    {"SAVEINF", Value::Required, nullptr},
    {"RESTARTEXITCODE", Value::Required, nullptr},
    {"SP-", Value::None, "there is no start-up prompt to disable"},
    {"NOSTYLE", Value::None, "this setup has no custom styles"},
    {"NORESTART", Value::None, "this setup never restarts Windows"},
    {"NOCANCEL", Value::None, "the installation offers no cancel once it has begun"},
    {"LANG", Value::Any, "only the Simplified Chinese interface exists"},
    {"CLOSEAPPLICATIONS", Value::None, kNeverCloses},
    {"NOCLOSEAPPLICATIONS", Value::None, kNeverCloses},
    {"FORCECLOSEAPPLICATIONS", Value::None, kNeverCloses},
    {"NOFORCECLOSEAPPLICATIONS", Value::None, kNeverCloses},
    {"LOGCLOSEAPPLICATIONS", Value::None, kNeverCloses},
    {"RESTARTAPPLICATIONS", Value::None, kNeverCloses},
    {"NORESTARTAPPLICATIONS", Value::None, kNeverCloses},
    {"TASKS", Value::Any, "not applicable: this setup has no tasks"},
    {"MERGETASKS", Value::Any, "not applicable: this setup has no tasks"},
    {"COMPONENTS", Value::Any, "not applicable: this setup has no components"},
    {"TYPE", Value::Any, "not applicable: this setup has no setup types"},
    {"GROUP", Value::Any, "not applicable: this setup makes no Start menu folder"},
    {"NOICONS", Value::None, "not applicable: this setup makes no Start menu folder"},
    {"PASSWORD", Value::Any, "not applicable: this setup asks for no password"},
    {"ALLUSERS", Value::None,
     "this setup always installs for the whole machine (administrators only)"},
    {"CURRENTUSER", Value::None,
     "not applicable: this setup always installs for the whole machine (administrators only)"},
    {"RELEASES", Value::Required, nullptr},
    {"ALLOWRUNNING", Value::None, nullptr},
    {"UNINSTALL", Value::None, nullptr},
    {"USERSETUP", Value::None, nullptr},
    {"UNINSTALLCOPY", Value::Required, nullptr},
};

const SwitchSpec* FindSwitch(const std::string& name) {
    for (const SwitchSpec& spec : kSwitches) {
        if (name == spec.name)
            return &spec;
    }
    return nullptr;
}

struct Switch {
    std::string name;  // upper case, without its / or -
    std::optional<std::string> value;
    std::string text;  // as given, without its value, for messages
};

// What is wrong with a line: for the person and for the log.
struct Problems {
    std::vector<std::string> unknown;                         // switches as given
    std::vector<std::pair<std::string, std::string>> others;  // message, reason
    void Add(std::string message, std::string reason) {
        others.emplace_back(std::move(message), std::move(reason));
    }
};

// One known switch into the options; a problem when its value is not right.
void ApplySwitch(const SwitchSpec& spec, const Switch& option, SetupOptions& options,
                 Problems& problems) {
    const std::string& name = option.name;
    if (spec.value == Value::None && option.value) {
        problems.Add("参数 " + option.text + " 不带值。", option.text + " takes no value");
        return;
    }
    if (spec.value == Value::Required && (!option.value || option.value->empty())) {
        const char* example = name == "DIR"               ? "=\"C:\\Varnok\""
                              : name == "RELEASES"        ? "=2018,2021"
                              : name == "RESTARTEXITCODE" ? "=3010"
                                                          : "=\"文件\"";
        problems.Add("参数 " + option.text + " 需要一个值，例如 /" + name + example + "。",
                     option.text + " needs a value");
        return;
    }
    if (name == "LOG" && option.value && option.value->empty()) {
        problems.Add("参数 /LOG= 需要一个文件名；不带文件名时写作 /LOG。",
                     "/LOG= needs a file name (or no \"=\" at all)");
        return;
    }
    if (spec.note != nullptr) {
        options.notes.push_back(option.text + ": " + spec.note);
        return;
    }
    if (name == "SILENT") {
        if (options.mode != RunMode::VerySilent)
            options.mode = RunMode::Silent;
    } else if (name == "VERYSILENT") {
        options.mode = RunMode::VerySilent;
    } else if (name == "SUPPRESSMSGBOXES") {
        options.suppressMessageBoxes = true;
    } else if (name == "ALLOWRUNNING") {
        options.allowRunning = true;
    } else if (name == "HELP" || name == "?") {
        options.help = true;
    } else if (name == "UNINSTALL") {
        options.uninstall = true;
    } else if (name == "USERSETUP") {
        options.userSetup = true;
    } else if (name == "UNINSTALLCOPY") {
        options.uninstallCopy = *option.value;
    } else if (name == "DIR") {
        options.folder = *option.value;
    } else if (name == "LOADINF") {
        options.loadInf = *option.value;
    } else if (name == "SAVEINF") {
        options.saveInf = *option.value;
    } else if (name == "RELEASES") {
        std::string wrong;
        if (!ParseReleaseYears(*option.value, options.years, wrong)) {
            problems.Add(
                "/RELEASES 中的“" + wrong + "”不是 " + std::to_string(kFirstReleaseYear) + " 到 " +
                    std::to_string(kLastReleaseYear) + " 之间的 AutoCAD 版本年份。",
                "\"" + wrong + "\" in /RELEASES is not an AutoCAD release year from " +
                    std::to_string(kFirstReleaseYear) + " to " + std::to_string(kLastReleaseYear));
        }
    } else if (name == "RESTARTEXITCODE") {
        const std::string& code = *option.value;
        if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            problems.Add("参数 " + option.text + " 的值必须是一个数字。",
                         option.text + " needs a number");
            return;
        }
        options.notes.push_back(option.text + ": never used, no restart is ever needed");
    } else if (name == "LOG") {
        options.log = true;
        options.logFile = option.value.value_or("");
    }
}

// Each switch of `parts` into the options. Every one is looked at, also
// after a bad one, so that a /LOG given anywhere still receives the line that
// says what was wrong.
void ApplyParts(const std::vector<std::string>& parts, SetupOptions& options, Problems& problems) {
    std::set<std::string> seen;
    for (const std::string& part : parts) {
        const std::size_t equals = part.find('=');
        Switch option;
        option.text = part.substr(0, equals);
        if (equals != std::string::npos)
            option.value = part.substr(equals + 1);
        const SwitchSpec* spec = nullptr;
        if (option.text.size() >= 2 && (part[0] == '/' || part[0] == '-')) {
            option.name = Upper(option.text.substr(1));
            spec = FindSwitch(option.name);
        }
        if (spec == nullptr) {
            problems.unknown.push_back(part);
            continue;
        }
        // A switch given twice with a value would leave it open which one counts.
        if (spec->value == Value::Required || option.name == "LOG") {
            if (!seen.insert(option.name).second) {
                problems.Add("参数 " + option.text + " 出现了两次。",
                             option.text + " is given twice");
                continue;
            }
        }
        ApplySwitch(*spec, option, options, problems);
    }
}

}  // namespace

bool ParseReleaseYears(const std::string& value, std::optional<std::vector<int>>& years,
                       std::string& wrongItem) {
    if (Upper(value) == "ALL") {
        years.reset();
        return true;
    }
    std::vector<int> parsed;
    std::string item;
    for (std::size_t at = 0; at <= value.size(); ++at) {
        if (at < value.size() && value[at] != ',') {
            item += value[at];
            continue;
        }
        const std::optional<int> year = ParseYear(item);
        if (!year) {
            wrongItem = item;
            return false;
        }
        if (std::find(parsed.begin(), parsed.end(), *year) == parsed.end())
            parsed.push_back(*year);
        item.clear();
    }
    std::sort(parsed.begin(), parsed.end());
    years = parsed;
    return true;
}

SplitLine SplitCommandLine(const std::string& arguments) {
    SplitLine line;
    std::string part;
    bool inPart = false;
    bool quoted = false;
    // Byte by byte: no trail byte of a double-byte character is a blank or a
    // quote in the code pages Windows uses for ANSI text.
    for (const char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            inPart = true;
        } else if (IsBlank(c) && !quoted) {
            if (inPart)
                line.parts.push_back(part);
            part.clear();
            inPart = false;
        } else {
            part += c;
            inPart = true;
        }
    }
    if (inPart)
        line.parts.push_back(part);
    line.quoteLeftOpen = quoted;
    return line;
}

ParsedCommandLine ParseCommandLine(const std::string& arguments) {
    ParsedCommandLine parsed;
    SplitLine line = SplitCommandLine(arguments);
    Problems problems;
    if (line.quoteLeftOpen) {
        // The part with the open quote runs to the end of the line: what it
        // holds is anyone's guess, and it is left out; the others still tell
        // whether the run is silent and where its log goes.
        problems.Add("命令行中的引号不成对：" + line.parts.back(),
                     "a double quote is not closed: " + line.parts.back());
        line.parts.pop_back();
    }
    SetupOptions& options = parsed.options;
    ApplyParts(line.parts, options, problems);
    if (options.suppressMessageBoxes && !options.Unattended())
        options.notes.push_back("/SUPPRESSMSGBOXES: no effect without /SILENT or /VERYSILENT");
    if (options.uninstall &&
        (options.folder || options.years || !options.loadInf.empty() || !options.saveInf.empty())) {
        problems.Add("参数 /DIR、/RELEASES、/LOADINF 和 /SAVEINF 不能与 /UNINSTALL 一起使用。",
                     "/DIR, /RELEASES, /LOADINF and /SAVEINF do not go with /UNINSTALL");
    }
    if (!options.uninstallCopy.empty() && !options.uninstall)
        problems.Add("参数 /UNINSTALLCOPY 只用于卸载。",
                     "/UNINSTALLCOPY is for the uninstall only");

    const auto append = [](std::string& to, const std::string& text, const char* separator) {
        to += (to.empty() ? "" : separator) + text;
    };
    if (!problems.unknown.empty()) {
        std::string list;
        for (const std::string& part : problems.unknown)
            append(list, part, " ");
        append(parsed.error, "未知的命令行参数：" + list, "\n");
        append(
            parsed.reason,
            std::string(problems.unknown.size() == 1 ? "unknown switch: " : "unknown switches: ") +
                list,
            "; ");
    }
    for (const auto& [message, reason] : problems.others) {
        append(parsed.error, message, "\n");
        append(parsed.reason, reason, "; ");
    }
    return parsed;
}

std::string CommandLineOf(const SetupOptions& options) {
    std::string line;
    const auto add = [&line](const std::string& part) { line += (line.empty() ? "" : " ") + part; };
    const auto with = [&add](const char* name, const std::string& value) {
        add(std::string(name) + "=\"" + value + '"');
    };
    if (options.help)
        add("/?");
    if (options.mode != RunMode::Wizard)
        add(options.mode == RunMode::Silent ? "/SILENT" : "/VERYSILENT");
    if (options.suppressMessageBoxes)
        add("/SUPPRESSMSGBOXES");
    if (options.uninstall)
        add("/UNINSTALL");
    if (!options.uninstallCopy.empty())
        with("/UNINSTALLCOPY", options.uninstallCopy);
    if (options.userSetup)
        add("/USERSETUP");
    if (options.folder)
        with("/DIR", *options.folder);
    if (options.years) {
        std::string years;
        for (const int year : *options.years)
            years += (years.empty() ? "" : ",") + std::to_string(year);
        add("/RELEASES=" + years);
    }
    if (!options.loadInf.empty())
        with("/LOADINF", options.loadInf);
    if (!options.saveInf.empty())
        with("/SAVEINF", options.saveInf);
    if (options.log && options.logFile.empty())
        add("/LOG");
    else if (options.log)
        with("/LOG", options.logFile);
    if (options.allowRunning)
        add("/ALLOWRUNNING");
    return line;
}

std::u16string CommandLineForLog(const std::u16string& commandLine) {
    std::u16string text = commandLine;
    const auto upper = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    };
    const std::u16string name = u"PASSWORD=";
    for (std::size_t at = 0; at < text.size(); ++at) {
        // A switch begins the line, or follows a blank or an opening quote.
        if ((text[at] != u'/' && text[at] != u'-') ||
            (at > 0 && text[at - 1] != u' ' && text[at - 1] != u'\t' && text[at - 1] != u'"')) {
            continue;
        }
        std::size_t matched = 0;
        while (matched < name.size() && at + 1 + matched < text.size() &&
               upper(text[at + 1 + matched]) == name[matched]) {
            ++matched;
        }
        if (matched != name.size())
            continue;
        const std::size_t value = at + 1 + name.size();
        const bool quotedWhole = at > 0 && text[at - 1] == u'"';  // "/PASSWORD=a b"
        bool quoted = quotedWhole;
        std::size_t end = value;
        while (end < text.size() && (quoted || (text[end] != u' ' && text[end] != u'\t'))) {
            if (text[end] == u'"')
                quoted = !quoted;
            ++end;
        }
        if (quotedWhole && end > value && text[end - 1] == u'"')
            --end;  // the quote that closes the whole switch stays
        text.replace(value, end - value, u"***");
        at = value + 2;
    }
    return text;
}

std::string CommandLineHelpText() {
    return "Varnok批打印软件安装程序的命令行参数：\n\n"
           "/SILENT\t\t不显示向导，只显示安装进度\n"
           "/VERYSILENT\t什么窗口都不显示\n"
           "/SUPPRESSMSGBOXES\t不显示任何提示框（与 /SILENT 或 /VERYSILENT 一起使用）\n"
           "/DIR=\"路径\"\t安装文件夹，默认为 C:\\Varnok\n"
           "/RELEASES=2018,2021\t要安装的 AutoCAD 版本年份，默认为 all（找到的全部版本）\n"
           "/LOG 或 /LOG=\"文件\"\t写安装日志（UTF-8），默认写到 %TEMP%\n"
           "/SAVEINF=\"文件\"\t把向导中的选择保存到文件\n"
           "/LOADINF=\"文件\"\t从文件读取选择（/DIR 和 /RELEASES 优先）\n"
           "/ALLOWRUNNING\tAutoCAD 正在运行时也安装（卸载）\n"
           "/UNINSTALL\t卸载（由安装文件夹中的 Uninstall.exe 执行）\n"
           "/USERSETUP\t为当前用户设置信任路径和设置文件（Windows 在用户登录时执行）\n"
           "/?\t\t显示本说明\n\n"
           "Inno Setup 的其他参数（如 /SP-、/NORESTART、/NOCANCEL）均可使用，"
           "对本安装程序没有作用的参数记入日志。\n"
           "无人值守安装视为同意许可协议。\n\n"
           "退出代码：\n"
           "0\t安装（卸载）完成\n"
           "1\t无法开始：参数有误、安装路径无效、版本年份不可用或缺少 Data 文件夹\n"
           "2\t安装（卸载）前被取消\n"
           "4\t有步骤失败（详见日志）\n"
           "5\t拷贝文件失败后中止\n"
           "7\tAutoCAD 正在运行，请稍后再试\n"
           "9\t此计算机上没有本安装程序可以安装的 AutoCAD 版本\n"
           "1618\t另一个安装程序正在运行，请稍后再试";
}

}  // namespace vk
