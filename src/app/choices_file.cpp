#include "app/choices_file.h"

#include <optional>

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "core/utf.h"
#include "engine/plan.h"
#include "platform/prompts.h"

namespace vk {
namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The file's text in the system's code page: UTF-8 with or without its mark,
// else as it is. False, with why, when it cannot be read so.
bool ToAnsi(const ICodePage& codePage, std::string content, std::string& text, std::string& wrong) {
    const bool marked = content.rfind(kBom, 0) == 0;
    if (marked)
        content.erase(0, 3);
    std::u16string wide;
    if (!Utf8ToUtf16(content, wide)) {
        if (marked) {
            wrong = "it is marked as UTF-8 but is not";
            return false;
        }
        text = content;  // the system's code page, as Notepad saves it
        return true;
    }
    for (const char16_t unit : wide) {
        if (unit >= 0x80 && !codePage.Represents(unit)) {
            wrong = "it holds characters that the system's code page lacks";
            return false;
        }
    }
    text = codePage.ToAnsi(wide);
    return true;
}

}  // namespace

std::string ChoicesText(const ICodePage& codePage, const std::string& folder,
                        const std::vector<int>& years) {
    std::string releases;
    for (const int year : years) {
        if (!releases.empty())
            releases += ',';
        releases += std::to_string(year);
    }
    return kBom + Utf16ToUtf8(codePage.ToWide("[Setup]\r\nDir=" + folder +
                                              "\r\nReleases=" + releases + "\r\n"));
}

bool ParseChoices(const ICodePage& codePage, const std::string& content, Choices& choices,
                  std::string& wrong) {
    choices = Choices{};
    std::string text;
    if (!ToAnsi(codePage, content, text, wrong))
        return false;
    bool inSetup = false;
    bool sawSetup = false;
    std::size_t number = 0;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = Trimmed(line);
        const std::string where = "line " + std::to_string(number + 1);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            inSetup = Upper(line) == "[SETUP]";
            if (!inSetup) {
                wrong = where + " opens a section other than [Setup]: " + line;
                return false;
            }
            sawSetup = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSetup || equals == std::string::npos) {
            wrong = where + " is not a key=value line of the [Setup] section";
            return false;
        }
        const std::string key = Upper(Trimmed(line.substr(0, equals)));
        const std::string value = Trimmed(line.substr(equals + 1));
        if (key == "DIR") {
            if (value.empty()) {
                wrong = where + ": Dir is empty";
                return false;
            }
            choices.folder = value;
        } else if (key == "RELEASES") {
            std::string item;
            if (!ParseReleaseYears(value, choices.years, item)) {
                wrong = where + ": \"" + item + "\" in Releases is not an AutoCAD release year";
                return false;
            }
        } else if (key != "LANG" && key != "GROUP" && key != "NOICONS" && key != "SETUPTYPE" &&
                   key != "COMPONENTS" && key != "TASKS") {
            wrong = where + ": unknown key " + line.substr(0, equals);
            return false;
        }
    }
    if (!sawSetup) {
        wrong = "it has no [Setup] section";
        return false;
    }
    return true;
}

int LoadChoices(const Services& services, SetupOptions& options) {
    const std::string& path = options.loadInf;
    std::string content;
    const OsResult read = services.files.ReadWholeFile(path, content);
    Choices choices;
    std::string wrong;
    if (read != kOk) {
        wrong = "it cannot be read (error " + std::to_string(read) + ")";
    } else if (!ParseChoices(services.codePage, content, choices, wrong)) {
        // `wrong` says why.
    } else {
        services.log.Info("Choices read from " + path);
        SetupOptions loaded = options;
        if (choices.folder && !loaded.folder) {
            // Checked by the plan's rules before the run goes on with it, as
            // /DIR is; a folder others could change waits for the wizard's question.
            loaded.folder = choices.folder;
            InstallChoices folderOnly;
            folderOnly.typedFolder = *choices.folder;
            std::string folder;
            if (const std::optional<Refusal> refusal =
                    CheckChosenFolder(services, folderOnly, folder);
                refusal &&
                (refusal->kind != Refusal::Kind::ReplaceableFolder || loaded.Unattended())) {
                return Tell(services, refusal->reason, UnattendedText(*refusal),
                            kMbOk | kMbIconStop, ExitCodeOf(*refusal));
            }
        }
        if (choices.years && !loaded.years)
            loaded.years = choices.years;
        options = loaded;
        services.log.Info("The run goes on as " + CommandLineOf(options));
        return kExitFinished;
    }
    return Tell(services, "the choices file /LOADINF names cannot be used: " + path + ": " + wrong,
                "无法使用 /LOADINF 指定的文件：\n\n" + path +
                    "\n\n它不存在、无法读取，或者不是 /SAVEINF 保存的选择文件。",
                kMbOk | kMbIconStop, kExitCannotStart);
}

OsResult SaveChoices(const Services& services, const std::string& path, const std::string& folder,
                     const std::vector<int>& years) {
    IFileSystem& files = services.files;
    // The name itself is replaced: a link there is neither followed nor kept.
    const std::uint32_t attributes = files.GetAttributes(path);
    OsResult result = kOk;
    if (attributes != kInvalidAttributes &&
        (attributes & (kAttrDirectory | kAttrReparsePoint)) != 0) {
        result = kErrAccessDenied;
    } else if (attributes != kInvalidAttributes) {
        result = files.RemoveFile(path);
    }
    if (result == kOk)
        result = files.AppendToFile(path, ChoicesText(services.codePage, folder, years));
    if (result != kOk)
        services.log.Failed("save the choices to " + path + " (/SAVEINF)", result);
    else
        services.log.Info("Choices saved to " + path);
    return result;
}

}  // namespace vk
