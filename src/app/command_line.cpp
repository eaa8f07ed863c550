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

// Years of "2018,2021"; an error text when one is not a year.
std::string ParseYears(const std::string& value, std::vector<int>& years) {
    std::string item;
    for (std::size_t at = 0; at <= value.size(); ++at) {
        if (at < value.size() && value[at] != ',') {
            item += value[at];
            continue;
        }
        const std::optional<int> year = ParseYear(item);
        if (!year) {
            return "/RELEASES 中的“" + item + "”不是 " + std::to_string(kFirstReleaseYear) +
                   " 到 " + std::to_string(kLastReleaseYear) + " 之间的 AutoCAD 版本年份。";
        }
        if (std::find(years.begin(), years.end(), *year) == years.end())
            years.push_back(*year);
        item.clear();
    }
    std::sort(years.begin(), years.end());
    return {};
}

struct Switch {
    std::string name;  // upper case, without its / or -
    std::optional<std::string> value;
    std::string text;  // as given, for messages
};

// One switch, or an error text.
std::string ApplySwitch(const Switch& option, SetupOptions& options) {
    const std::string& name = option.name;
    const bool flag = name == "SILENT" || name == "VERYSILENT" || name == "SUPPRESSMSGBOXES" ||
                      name == "ALLOWRUNNING" || name == "HELP" || name == "?" ||
                      name == "UNINSTALL" || name == "USERSETUP";
    if (flag && option.value)
        return "参数 " + option.text + " 不带值。";
    if ((name == "DIR" || name == "RELEASES" || name == "UNINSTALLCOPY") &&
        (!option.value || option.value->empty()))
        return "参数 " + option.text + " 需要一个值，例如 /" + name +
               (name == "DIR" ? "=\"C:\\Varnok\"" : "=2018,2021") + "。";
    if (name == "LOG" && option.value && option.value->empty())
        return "参数 /LOG= 需要一个文件名；不带文件名时写作 /LOG。";

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
    } else if (name == "RELEASES") {
        if (Upper(*option.value) != "ALL") {
            std::vector<int> years;
            if (std::string error = ParseYears(*option.value, years); !error.empty())
                return error;
            options.years = years;
        }
    } else if (name == "LOG") {
        options.log = true;
        options.logFile = option.value.value_or("");
    } else {
        return "未知的命令行参数：" + option.text;
    }
    return {};
}

}  // namespace

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& arguments) {
    std::vector<std::string> parts;
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
                parts.push_back(part);
            part.clear();
            inPart = false;
        } else {
            part += c;
            inPart = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inPart)
        parts.push_back(part);
    return parts;
}

ParsedCommandLine ParseCommandLine(const std::string& arguments) {
    ParsedCommandLine parsed;
    const std::optional<std::vector<std::string>> parts = SplitCommandLine(arguments);
    if (!parts) {
        parsed.error = "命令行中的引号不成对。";
        return parsed;
    }
    // Every switch is looked at, also after a bad one, so that a /LOG given
    // anywhere still receives the line that says what was wrong.
    std::set<std::string> seen;
    auto fail = [&](std::string error) {
        if (parsed.error.empty())
            parsed.error = std::move(error);
    };
    for (const std::string& part : *parts) {
        if (part.size() < 2 || (part[0] != '/' && part[0] != '-')) {
            fail("未知的命令行参数：" + part);
            continue;
        }
        const std::size_t equals = part.find('=');
        Switch option;
        option.text = part.substr(0, equals);
        option.name = Upper(option.text.substr(1));
        if (equals != std::string::npos)
            option.value = part.substr(equals + 1);
        // A switch given twice with a value would leave it open which one counts.
        const bool takesValue = option.name == "DIR" || option.name == "RELEASES" ||
                                option.name == "LOG" || option.name == "UNINSTALLCOPY";
        if (takesValue && !seen.insert(option.name).second) {
            fail("参数 " + option.text + " 出现了两次。");
            continue;
        }
        if (std::string error = ApplySwitch(option, parsed.options); !error.empty())
            fail(error);
    }
    if (parsed.options.suppressMessageBoxes && !parsed.options.Unattended())
        fail("参数 /SUPPRESSMSGBOXES 只能与 /SILENT 或 /VERYSILENT 一起使用。");
    if (parsed.options.uninstall && (parsed.options.folder || parsed.options.years))
        fail("参数 /DIR 和 /RELEASES 不能与 /UNINSTALL 一起使用。");
    if (!parsed.options.uninstallCopy.empty() && !parsed.options.uninstall)
        fail("参数 /UNINSTALLCOPY 只用于卸载。");
    return parsed;
}

std::string CommandLineHelpText() {
    return "Varnok批打印软件安装程序的命令行参数：\n\n"
           "/SILENT\t\t不显示向导，只显示安装进度\n"
           "/VERYSILENT\t什么窗口都不显示\n"
           "/SUPPRESSMSGBOXES\t不显示任何提示框（与 /SILENT 或 /VERYSILENT 一起使用）\n"
           "/DIR=\"路径\"\t安装文件夹，默认为 C:\\Varnok\n"
           "/RELEASES=2018,2021\t要安装的 AutoCAD 版本年份，默认为 all（找到的全部版本）\n"
           "/LOG 或 /LOG=\"文件\"\t写安装日志（UTF-8），默认写到 %TEMP%\n"
           "/ALLOWRUNNING\tAutoCAD 正在运行时也安装（卸载）\n"
           "/UNINSTALL\t卸载（由安装文件夹中的 Uninstall.exe 执行）\n"
           "/USERSETUP\t为当前用户设置信任路径和设置文件（Windows 在用户登录时执行）\n"
           "/?\t\t显示本说明\n\n"
           "无人值守安装视为同意许可协议。\n\n"
           "退出代码：\n"
           "0\t安装（卸载）完成\n"
           "1\t无法开始：参数有误、安装路径无效、版本年份不可用或缺少 Data 文件夹\n"
           "2\t安装（卸载）前被取消\n"
           "4\t已安装，但有步骤失败；或卸载时有内容未能删除（详见日志）\n"
           "5\t拷贝文件失败后中止\n"
           "7\t无法进行：AutoCAD 正在运行，或未找到可安装的 AutoCAD 版本";
}

}  // namespace vk
