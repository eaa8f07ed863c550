// SetUp.exe's start-up after its entry: DLLs from the system folder only,
// the command line read before any window exists, the log opened when it
// asks for one, one setup at a time, and then the framework starts theApp,
// whose exit code the program ends with.
#include "app/win/setup_start.h"

#include <algorithm>
#include <string>

#include "app/answering_prompts.h"
#include "app/choices_file.h"
#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "app/uninstall_run.h"
#include "app/uninstall_start.h"
#include "app/user_setup_run.h"
#include "app/win/log_header.h"
#include "app/win/setup_objects.h"
#include "app/win/single_instance.h"
#include "app/win/system_dlls.h"
#include "app/win/temp_folder.h"
#include "app/win/uninstall_copy.h"
#include "app/win/wizard_app.h"
#include "engine/install_texts.h"
#include "engine/journal/record.h"
#include "engine/setup_message.h"
#include "platform/win32/file_log.h"
#include "platform/win32/gbk_text.h"
#include "platform/win32/system_services.h"
#include "platform/win32/windows_api.h"
#include "ui/framework/win_app.h"

namespace {

constexpr const char* kUnsafeDllSearchReason =
    "Windows cannot limit the DLLs this program loads to the system folder (update KB2533623 "
    "is missing); nothing more is loaded";
constexpr const char* kUnsafeDllSearchText =
    "无法安全加载系统组件 !\n\n本机Windows缺少安全更新KB2533623，\n"
    "无法只从系统文件夹加载系统组件。\n\n请安装该更新后再执行SetUp.exe !";

constexpr const char* kAnotherSetupText =
    "Varnok批打印软件的安装程序已经在运行。\n\n请等它结束后再试。";

// The setup keeps its text in GBK (code page 936), whatever code page the
// machine has: a path it must build on, or a command line, with a character
// GBK lacks cannot be used.
constexpr const char* kNotGbkReason = "it holds characters that code page 936 (GBK) lacks";
constexpr const char* kNotGbkCommandLineText =
    "命令行中有安装程序无法使用的字符（GBK 字符集之外的字符）。";
constexpr const char* kNotGbkFolderText =
    "安装程序所在文件夹的路径中有安装程序无法使用的字符（GBK 字符集之外的字符）。\n\n"
    "请把安装包移到其他文件夹（例如 C:\\VarnokSetup）后再执行SetUp.exe !";

// What the start-up says when it stops: its reason for the log, and a box
// unless the run asked for silence. A run started by a deployment tool may
// have nobody to answer a box (SYSTEM in session 0), so a /SILENT or
// /VERYSILENT run shows none before it has properly begun.
int Refuse(const vk::SetupOptions& options, const std::string& reason, const std::string& text,
           int exitCode) {
    const vk::Services& system = vk::win32::SystemServices();
    vk::AnsweringPrompts answering(system.log);
    return vk::Tell(vk::ServicesAsking(system, !options.Unattended(), answering), reason, text,
                    vk::kMbOk | vk::kMbIconStop, exitCode);
}

// Opens the log the command line asks for, and writes its header; false
// (after saying so) when the named file cannot be used. A silent run whose
// command line cannot be used, or whose named log is refused, says why in a
// new dated log in %TEMP%: it shows no box, and its reason must go somewhere.
// The uninstaller's copy goes on with its starter's log.
bool OpenLog(const vk::SetupOptions& options, bool lineUsable) {
    vk::win32::FileLog& log = vk::win32::SystemLog();
    std::string temp;
    const vk::OsResult tempFound = vk::win32::TempFolder(temp);
    const auto openDated = [&] { return tempFound == vk::kOk ? log.OpenDated(temp) : tempFound; };
    if (tempFound != vk::kOk)
        temp = "%TEMP%";
    vk::OsResult result = vk::kOk;
    if (options.log && !options.logFile.empty()) {
        result = options.uninstallCopy.empty() ? log.Open(options.logFile)
                                               : log.OpenToAppend(options.logFile);
    } else if (options.log) {
        result = openDated();
    } else if (!lineUsable && options.Unattended()) {
        openDated();  // without it the reason would be nowhere
    }
    if (result != vk::kOk && options.Unattended())
        openDated();
    if (log.IsOpen())
        vk::win32::WriteLogHeader(log);
    if (result == vk::kOk)
        return true;
    const std::string why = vk::win32::FileLog::RefusalText(result);
    const std::string& name = options.logFile.empty() ? temp : options.logFile;
    Refuse(options,
           "the log file " + name +
               " cannot be used: " + (why.empty() ? "error " + std::to_string(result) : why),
           why.empty() ? "无法创建日志文件 " + name + "（错误 " + std::to_string(result) + "）。"
                       : "日志文件 " + name +
                             " 是链接、文件夹或有多个名称（硬链接）的文件，安装程序不会写入它。\n\n"
                             "请用 /LOG 指定只有管理员可以更改的文件夹中的文件。",
           vk::kExitCannotStart);
    return false;
}

// The switches the uninstaller hands to its copy: its own, with the log it
// opened named, so that both write one log.
std::string CopyArguments(const vk::SetupOptions& options) {
    std::string arguments = "/UNINSTALL";
    if (options.mode == vk::RunMode::Silent)
        arguments += " /SILENT";
    if (options.mode == vk::RunMode::VerySilent)
        arguments += " /VERYSILENT";
    if (options.suppressMessageBoxes)
        arguments += " /SUPPRESSMSGBOXES";
    if (options.allowRunning)
        arguments += " /ALLOWRUNNING";
    if (vk::win32::SystemLog().IsOpen())
        arguments += " \"/LOG=" + vk::win32::SystemLog().Path() + "\"";
    return arguments;
}

// The uninstaller's copy: the uninstall, its result to the starter, and
// once the starter has ended, the product folder and the copy's own file.
int RunUninstallInCopy(const vk::SetupOptions& options) {
    vk::Log& log = vk::win32::SystemLog();
    vk::win32::StarterLink starter;
    if (!starter.Parse(options.uninstallCopy)) {
        return Refuse(options, "/UNINSTALLCOPY does not name the uninstaller that started it",
                      "参数 /UNINSTALLCOPY 的值无效。", vk::kExitCannotStart);
    }
    // The starter let go of the lock to start this copy; held here until the
    // product folder is gone.
    const vk::win32::SingleSetupLock lock;
    if (!lock.Held()) {
        const int refused = Refuse(options, "another setup of this product is running",
                                   kAnotherSetupText, vk::kExitAnotherSetup);
        starter.Report(refused);
        vk::win32::DeleteOwnFileLater(log);
        return refused;
    }
    const vk::Services& system = vk::win32::SystemServices();
    vk::AnsweringPrompts answering(system.log);
    const vk::Services services = vk::ServicesAsking(system, options.MayAsk(), answering);
    std::string productDir;
    std::vector<vk::RecordEntry> entries;
    int exitCode = vk::FindInstallationToRemove(services, productDir);
    if (exitCode == vk::kExitFinished)
        exitCode = vk::RunUninstall(services, {options, productDir}, entries);
    starter.Report(exitCode);
    if (!entries.empty()) {
        if (!starter.WaitForStarterToEnd())
            log.Info("The uninstaller that started this copy did not end: its folder stays");
        vk::FinishUninstall(services, productDir, entries);
    }
    vk::win32::DeleteOwnFileLater(log);
    return exitCode;
}

// The per-user stub, started by Windows at a user's logon: its own log in
// the user's %TEMP% (the last run's), no box whatever happens.
int RunUserSetupStub(bool dllSearchRestricted) {
    vk::win32::FileLog& log = vk::win32::SystemLog();
    if (std::string temp; vk::win32::TempFolder(temp) == vk::kOk)
        log.Open(temp + "\\Varnok user setup.log", true);
    vk::win32::WriteLogHeader(log);
    if (!dllSearchRestricted) {
        log.Info(std::string("Stopped: ") + kUnsafeDllSearchReason);
        return vk::kExitCannotStart;
    }
    const vk::Services& system = vk::win32::SystemServices();
    vk::AnsweringPrompts answering(system.log);
    return vk::RunUserSetup(vk::ServicesAsking(system, false, answering));
}

// The program file's own name is the uninstaller's: it uninstalls.
bool IsTheUninstaller(const std::string& program) {
    const std::wstring path = vk::win32::Wide(program);
    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return ::lstrcmpiW(name.c_str(), vk::win32::Wide(vk::kUninstallerFileName).c_str()) == 0;
}

// The command line after the program's own name, as WinMain's lpCmdLine has
// it, from the wide line Windows keeps: as GBK, and whether GBK holds all of
// it (if not, each character it lacks reads as '?').
bool CommandLineArguments(std::string& arguments) {
    const std::wstring_view line = ::GetCommandLineW();
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        at = std::min(line.find_first_of(L" \t"), line.size());
    }
    while (at < line.size() && (line[at] == L' ' || line[at] == L'\t'))
        ++at;
    const std::wstring_view rest = line.substr(at);
    arguments = vk::win32::Gbk(rest);
    return vk::win32::IsGbk(rest);
}

int RunSetup(HINSTANCE instance, const vk::ParsedCommandLine& parsed, bool dllSearchRestricted) {
    vk::SetupOptions options = parsed.options;
    if (options.userSetup && parsed.ok())
        return RunUserSetupStub(dllSearchRestricted);
    // Its Data folder, its copies and the Active Setup stub are found from
    // the program's own path.
    std::string program;
    const vk::OsResult located = vk::win32::SystemServices().files.GetModulePath(program);
    if (located == vk::kOk && IsTheUninstaller(program))
        options.uninstall = true;
    if (!OpenLog(options, parsed.ok()))
        return vk::kExitCannotStart;
    vk::Log& log = vk::win32::SystemLog();
    // Without the restriction the program's own folder (a download folder,
    // where anyone may have put a DLL named like a system one) stays in the
    // search, and the program runs with administrator rights: nothing more
    // is loaded.
    if (!dllSearchRestricted)
        return Refuse(options, kUnsafeDllSearchReason, kUnsafeDllSearchText, vk::kExitCannotStart);
    if (!parsed.ok()) {
        return Refuse(options, "the command line cannot be used: " + parsed.reason,
                      parsed.error + "\n\n用 /? 查看安装程序的命令行参数。", vk::kExitCannotStart);
    }
    if (located == vk::win32::kErrNotGbk) {
        return Refuse(
            options,
            std::string("the folder of the setup program cannot be used: ") + kNotGbkReason,
            kNotGbkFolderText, vk::kExitCannotStart);
    }
    for (const std::string& note : options.notes)
        log.Info("Switch " + note);
    if (options.help) {
        const vk::Services& system = vk::win32::SystemServices();
        vk::AnsweringPrompts answering(system.log);
        vk::SetupMessage(vk::ServicesAsking(system, !options.Unattended(), answering),
                         vk::CommandLineHelpText(), vk::kMbOk | vk::kMbIconInformation);
        return vk::kExitFinished;
    }
    // Started by an uninstaller, which handed the one-setup lock over to it.
    if (!options.uninstallCopy.empty())
        return RunUninstallInCopy(options);
    vk::win32::SingleSetupLock lock;
    if (!lock.Held()) {
        return Refuse(options, "another setup of this product is running", kAnotherSetupText,
                      vk::kExitAnotherSetup);
    }
    const vk::Services& system = vk::win32::SystemServices();
    vk::AnsweringPrompts answering(system.log);
    if (options.uninstall) {
        // Only the installation Apps & Features names is taken away, never
        // whatever folder this uninstaller was started from.
        const vk::Services services = vk::ServicesAsking(system, options.MayAsk(), answering);
        std::string productDir;
        if (const int refused = vk::FindInstallationToRemove(services, productDir);
            refused != vk::kExitFinished) {
            return refused;
        }
        return vk::win32::RunUninstallCopy(services, CopyArguments(options), lock);
    }
    if (!options.loadInf.empty()) {
        if (const int refused = vk::LoadChoices(
                vk::ServicesAsking(system, !options.Unattended(), answering), options);
            refused != vk::kExitFinished) {
            return refused;
        }
    }
    theApp.m_options = options;
    return AfxWinMain(instance);
}

}  // namespace

int vk::win32::StartSetup(HINSTANCE instance, bool (*restrictDllSearch)()) {
    // Before anything can load a DLL by name.
    const bool restricted = restrictDllSearch();
    std::string arguments;
    const bool exact = CommandLineArguments(arguments);
    // Read as far as it can be, so that /VERYSILENT or /LOG still count for
    // saying what is wrong with it.
    vk::ParsedCommandLine parsed = vk::ParseCommandLine(arguments);
    if (!exact) {
        parsed.reason = kNotGbkReason + (parsed.ok() ? "" : "; " + parsed.reason);
        parsed.error = kNotGbkCommandLineText + (parsed.ok() ? "" : "\n" + parsed.error);
    }
    const int exitCode = RunSetup(instance, parsed, restricted);
    vk::win32::SystemLog().Info("Exit code " + std::to_string(exitCode));
    return exitCode;
}
