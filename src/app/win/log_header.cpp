#include "app/win/log_header.h"

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/install_context.h"
#include "core/decimal.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

// After <windows.h>.
#include <sddl.h>

namespace vk::win32 {
namespace {

std::u16string Wide(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// A text value of Windows' version key, or "" when it has none.
std::wstring VersionValue(const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);  // room for a NUL the value may lack
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

// "Windows 10.0.19045.3803 (Windows 10 Pro 22H2)": RtlGetVersion, which no
// compatibility shim bends, and the update revision from the registry.
std::u16string WindowsLine() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // always loaded: nothing is searched
    const auto getVersion =
        ntdll != nullptr ? reinterpret_cast<RtlGetVersionFn>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                         : nullptr;
    if (getVersion == nullptr || getVersion(&version) != 0)
        return u"Windows: version unknown";
    DWORD revision = 0;
    DWORD size = sizeof revision;
    const bool hasRevision =
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"UBR",
                     RRF_RT_REG_DWORD, nullptr, &revision, &size) == ERROR_SUCCESS;
    const std::string numbers = vk::PaddedDecimal(version.dwMajorVersion) + "." +
                                vk::PaddedDecimal(version.dwMinorVersion) + "." +
                                vk::PaddedDecimal(version.dwBuildNumber);
    std::u16string line = u"Windows " + Ascii(numbers);
    if (hasRevision)
        line += u"." + Ascii(std::to_string(revision));
    std::wstring release = VersionValue(L"DisplayVersion");
    if (release.empty())
        release = VersionValue(L"ReleaseId");
    const std::wstring product = VersionValue(L"ProductName");
    if (!product.empty() || !release.empty())
        line += u" (" + Wide(product) + (release.empty() ? u"" : u" " + Wide(release)) + u")";
    return line;
}

std::string ArchitectureLine() {
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    const char* name = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64   ? "x64"
                       : system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ? "ARM64"
                       : system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ? "x86"
                                                                                       : "other";
    return std::string("Architecture: ") + name + ", a 64-bit program";
}

// "Account: DOMAIN\name (S-1-5-21-...), elevated: yes, session 1".
std::u16string AccountLine() {
    UniqueProcess token;
    std::u16string line = u"Account: ";
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return line + u"unknown";
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);  // new[] memory: aligned for TOKEN_USER
    if (size != 0 && GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
        PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
        wchar_t name[256] = {};
        wchar_t domain[256] = {};
        DWORD nameSize = 256;
        DWORD domainSize = 256;
        SID_NAME_USE use{};
        if (LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
            line += Wide(domain) + (domain[0] != L'\0' ? u"\\" : u"") + Wide(name);
        else
            line += u"(name unknown)";
        wchar_t* text = nullptr;
        if (ConvertSidToStringSidW(sid, &text)) {
            const UniqueLocal owned(text);
            line += u" (" + Wide(text) + u")";
        }
    }
    TOKEN_ELEVATION elevation{};
    DWORD elevationSize = sizeof elevation;
    const bool known = GetTokenInformation(token.Get(), TokenElevation, &elevation,
                                           sizeof elevation, &elevationSize) != FALSE;
    line += known ? (elevation.TokenIsElevated != 0 ? u", elevated: yes" : u", elevated: no")
                  : u", elevated: unknown";
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session))
        line += u", session " + Ascii(std::to_string(session));
    return line;
}

// "Local time: 2024-05-01 10:00:00 UTC+08:00 (China Standard Time)".
std::u16string TimeLine() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    TIME_ZONE_INFORMATION zone{};
    const DWORD kind = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;  // minutes to add to local time for UTC
    const wchar_t* name = zone.StandardName;
    if (kind == TIME_ZONE_ID_DAYLIGHT) {
        bias += zone.DaylightBias;
        name = zone.DaylightName;
    } else if (kind == TIME_ZONE_ID_STANDARD) {
        bias += zone.StandardBias;
    }
    const LONG offset = -bias;
    const LONG minutes = offset < 0 ? -offset : offset;
    const std::string text =
        "Local time: " + vk::PaddedDecimal(now.wYear, 4) + "-" + vk::PaddedDecimal(now.wMonth, 2) +
        "-" + vk::PaddedDecimal(now.wDay, 2) + " " + vk::PaddedDecimal(now.wHour, 2) + ":" +
        vk::PaddedDecimal(now.wMinute, 2) + ":" + vk::PaddedDecimal(now.wSecond, 2) + " UTC" +
        (offset < 0 ? "-" : "+") + vk::PaddedDecimal(static_cast<std::uint64_t>(minutes / 60), 2) +
        ":" + vk::PaddedDecimal(static_cast<std::uint64_t>(minutes % 60), 2);
    std::u16string line = Ascii(text);
    if (name[0] != L'\0')
        line += u" (" + Wide(name) + u")";
    return line;
}

std::u16string SourceLine() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return u"Source folder: unknown";
        if (length + 1 < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L'\\');
    return u"Source folder: " + Wide(slash == std::wstring::npos ? path : path.substr(0, slash));
}

}  // namespace

void WriteLogHeader(Log& log) {
    log.Info("Varnok setup " + VersionNumber() + " (" + std::to_string(g_nPlatformBits) +
             "-bit), process " + std::to_string(GetCurrentProcessId()));
    log.Info(u"Command line: " + CommandLineForLog(Wide(GetCommandLineW())));
    log.Info(WindowsLine());
    log.Info(ArchitectureLine());
    log.Info(AccountLine());
    log.Info(TimeLine());
    log.Info(SourceLine());
}

}  // namespace vk::win32
