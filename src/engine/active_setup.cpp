#include "engine/active_setup.h"

#include <algorithm>
#include <array>

#include "core/reg_key.h"
#include "engine/install_paths.h"
#include "engine/journal/record.h"
#include "engine/machine_key.h"
#include "engine/user_hives.h"

namespace vk {
namespace {

constexpr const char* kComponentName = "Varnok批打印软件";
// The removal's script, kept in the component's key: HKEY_LOCAL_MACHINE,
// where only administrators can write.
constexpr const char* kRemovalScriptValue = "RemovalScript";
// Where Windows marks, in a user's hive, the version the user was served.
constexpr const char* kUserMarkKey =
    "Software\\Microsoft\\Active Setup\\Installed Components\\Varnok.BatchPlot";

OsResult DeleteRunEntry(IRegistry& registry, RegHandle hive) {
    RegKey run(registry);
    const OsResult opened = run.Open(hive, kRunKey);
    if (opened == kErrFileNotFound)
        return kOk;
    if (opened != kOk)
        return opened;
    const OsResult deleted = registry.DeleteValue(run.Get(), kRunValueName);
    return deleted == kErrFileNotFound ? kOk : deleted;
}

// Writes the component: its name, `version`, `command` and, for the
// removal, its script (an installation's component has none).
OsResult WriteComponent(const Services& services, const std::string& version,
                        const std::u16string& command, const std::u16string& script) {
    IRegistry& registry = services.registry;
    RegKey key(registry);
    OsResult result = CreateMachineKey(services, kActiveSetupKey, key);
    if (result != kOk)
        return result;
    const struct {
        const char* name;
        std::u16string text;
    } texts[] = {
        {"", services.codePage.ToWide(kComponentName)},
        {"Version", services.codePage.ToWide(version)},
        {"StubPath", command},
    };
    for (const auto& text : texts) {
        result = registry.SetText(key.Get(), text.name, kRegSz, text.text);
        if (result != kOk)
            break;
    }
    if (result == kOk) {
        result = script.empty() ? registry.DeleteValue(key.Get(), kRemovalScriptValue)
                                : registry.SetText(key.Get(), kRemovalScriptValue, kRegSz, script);
        result = result == kErrFileNotFound ? kOk : result;
    }
    if (result == kOk)
        result = registry.SetDword(key.Get(), "IsInstalled", 1);
    if (result != kOk)
        services.log.Failed("write HKLM\\" + std::string(kActiveSetupKey), result);
    return result;
}

std::string SystemFolder(const Services& services) {
    std::string systemRoot;
    if (services.files.GetEnvironmentVariable("SystemRoot", systemRoot) != kOk ||
        systemRoot.empty())
        systemRoot = "C:\\Windows";
    return JoinPath(systemRoot, "System32");
}

// The four numbers of a component's version ("2023,5,26,1"); what is not a
// number of at most five digits counts 0.
std::array<unsigned long, 4> ComponentNumbers(const std::string& text) {
    std::array<unsigned long, 4> numbers{};
    std::size_t start = 0;
    for (unsigned long& number : numbers) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma - start);
        if (!part.empty() && part.size() <= 5 &&
            part.find_first_not_of("0123456789") == std::string::npos)
            number = std::stoul(part);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

std::u16string Ascii(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

// Text between single quotes in PowerShell: every kind of single quote it
// knows is doubled.
std::u16string QuotedForPowerShell(const std::u16string& text) {
    std::u16string quoted = u"'";
    for (const char16_t c : text) {
        quoted += c;
        if (c == u'\'' || c == u'\u2018' || c == u'\u2019' || c == u'\u201A' || c == u'\u201B')
            quoted += c;
    }
    quoted += u'\'';
    return quoted;
}

}  // namespace

std::string ActiveSetupVersion(const std::string& version) {
    std::string out;
    std::string number;
    int parts = 0;
    const auto flush = [&] {
        const bool sound = !number.empty() && number.size() <= 5 &&
                           number.find_first_not_of("0123456789") == std::string::npos;
        if (parts > 0)
            out += ',';
        out += sound ? number : std::string("0");
        number.clear();
        ++parts;
    };
    for (const char c : version) {
        if (c != '.') {
            number += c;
        } else if (parts < 3) {
            flush();
        } else {
            break;
        }
    }
    while (parts < 4)
        flush();
    return out;
}

std::string UserSetupCommand(const std::string& productDir) {
    // Built by appending: GCC 12 at -O3 warns falsely on "\"" + text.
    std::string command(1, '"');
    command += JoinPath(productDir, kLogonProgramFileName);
    command += '"';
    return command;
}

std::u16string RemovalScript(const std::u16string& productDir) {
    // Windows PowerShell 2.0 and later; a failure changes nothing. Built by
    // appending: GCC 12 at -O3 warns falsely on one long chain of "+".
    std::u16string script = u"$ErrorActionPreference = 'SilentlyContinue'\r\n$folder = ";
    script += QuotedForPowerShell(productDir);
    script += u"\r\nRemove-ItemProperty -LiteralPath 'HKCU:\\";
    script += Ascii(kRunKey);
    script += u"' -Name '";
    script += Ascii(kRunValueName);
    script += u"'\r\n";
    script +=
        u"foreach ($key in Get-ChildItem -LiteralPath 'HKCU:\\Software\\Autodesk\\AutoCAD' "
        u"-Recurse) {\r\n"
        u"  if ($key.PSChildName -ne 'Variables') { continue }\r\n"
        u"  $list = $key.GetValue('TRUSTEDPATHS', $null, 'DoNotExpandEnvironmentNames')\r\n"
        u"  if ($list -isnot [string]) { continue }\r\n"
        u"  $kept = @()\r\n"
        u"  foreach ($entry in $list.Split(';')) {\r\n"
        u"    $named = $entry\r\n"
        u"    if ($named.EndsWith('\\...')) { $named = $named.Substring(0, $named.Length - 4) }\r\n"
        u"    elseif ($named.EndsWith('\\')) { $named = $named.Substring(0, $named.Length - 1) "
        u"}\r\n"
        u"    if ($named -ne $folder) { $kept += $entry }\r\n"
        u"  }\r\n"
        u"  $new = $kept -join ';'\r\n"
        u"  if ($new -cne $list) {\r\n"
        u"    Set-ItemProperty -LiteralPath $key.PSPath -Name 'TRUSTEDPATHS' -Value $new "
        u"-Type $key.GetValueKind('TRUSTEDPATHS')\r\n"
        u"  }\r\n"
        u"}\r\n";
    return script;
}

std::string NextComponentVersion(const Services& services, const std::string& version) {
    IRegistry& registry = services.registry;
    RegKey machine(registry);
    RegKey key(registry);
    std::size_t size = 0;
    std::u16string current;
    std::uint32_t type = 0;
    std::array<unsigned long, 4> now{};
    if (machine.OpenRoot(RegRoot::LocalMachine) == kOk &&
        key.OpenForRead(machine.Get(), kActiveSetupKey) == kOk &&
        registry.QueryTextSize(key.Get(), "Version", size) == kOk &&
        registry.QueryText(key.Get(), "Version", size, current, type) == kOk) {
        now = ComponentNumbers(services.codePage.ToAnsi(current));
    }
    std::array<unsigned long, 4> next = ComponentNumbers(ActiveSetupVersion(version));
    // Never below what the component says now: a lower version runs for nobody.
    if (std::lexicographical_compare(next.begin(), next.begin() + 3, now.begin(), now.begin() + 3))
        std::copy(now.begin(), now.begin() + 3, next.begin());
    next[3] = now[3] + 1;
    return std::to_string(next[0]) + ',' + std::to_string(next[1]) + ',' + std::to_string(next[2]) +
           ',' + std::to_string(next[3]);
}

OsResult WriteActiveSetup(const Services& services, const std::string& productDir,
                          const std::string& version) {
    const OsResult result =
        WriteComponent(services, NextComponentVersion(services, version),
                       services.codePage.ToWide(UserSetupCommand(productDir)), {});
    if (result == kOk) {
        services.log.Info("Active Setup component HKLM\\" + std::string(kActiveSetupKey) +
                          " written: users who sign in later get the per-user steps");
    }
    return result;
}

OsResult RemoveLoadedUsersStubEntries(const Services& services) {
    IRegistry& registry = services.registry;
    OsResult first = kOk;
    for (const UserHive& user : LoadedUserHives(services)) {
        RegKey hive(registry);
        OsResult result = OpenUserHive(registry, user, hive);
        if (result == kOk)
            result = DeleteRunEntry(registry, hive.Get());
        // Windows' mark that the user was served: without it an installation
        // after this one serves the user again, whose entries go now.
        if (result == kOk) {
            result = registry.DeleteKey(hive.Get(), kUserMarkKey);
            result = result == kErrFileNotFound ? kOk : result;
        }
        if (result != kOk) {
            services.log.Failed("remove the Run entry and the Active Setup mark of " + user.Name(),
                                result);
            first = first == kOk ? result : first;
        }
    }
    return first;
}

OsResult WriteRemovalComponent(const Services& services, const std::string& productDir,
                               const std::string& version) {
    std::string command = "\"";
    command += JoinPath(SystemFolder(services), "WindowsPowerShell\\v1.0\\powershell.exe");
    command +=
        "\" -NoProfile -NonInteractive -WindowStyle Hidden -Command \"iex (Get-ItemProperty "
        "-LiteralPath 'HKLM:\\";
    command += kActiveSetupKey;
    command += "').";
    command += kRemovalScriptValue;
    command += '"';
    const OsResult result = WriteComponent(services, version, services.codePage.ToWide(command),
                                           RemovalScript(services.codePage.ToWide(productDir)));
    if (result != kOk)
        return result;
    services.log.Info("Active Setup component HKLM\\" + std::string(kActiveSetupKey) +
                      " now removes, at each other user's next logon, the per-user setup's Run "
                      "entry and " +
                      productDir + " from the user's trusted paths");
    return kOk;
}

OsResult SetOwnRunEntry(const Services& services, const std::string& command) {
    IRegistry& registry = services.registry;
    RegKey user(registry);
    RegKey run(registry);
    OsResult result = user.OpenRoot(RegRoot::CurrentUser);
    if (result == kOk)
        result = run.Create(user.Get(), kRunKey);
    if (result == kOk)
        result =
            registry.SetText(run.Get(), kRunValueName, kRegSz, services.codePage.ToWide(command));
    return result;
}

OsResult RemoveOwnRunEntry(const Services& services) {
    RegKey user(services.registry);
    const OsResult result = user.OpenRoot(RegRoot::CurrentUser);
    return result == kOk ? DeleteRunEntry(services.registry, user.Get()) : result;
}

}  // namespace vk
