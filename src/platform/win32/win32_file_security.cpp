// The file system's security operations: a descriptor given as SDDL applied
// to a path, and who owns a folder and what a standard user may do to it.
#include "platform/win32/win32_file_system.h"

// <windows.h> before the headers that build on it.
#include "platform/win32/windows_api.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "platform/win32/gbk_text.h"
#include "platform/win32/unique_handle.h"

namespace vk::win32 {
namespace {

using UniqueToken = UniqueHandle<NullHandleTraits>;

constexpr const char* kAdministratorsSid = "S-1-5-32-544";
constexpr const char* kSystemSid = "S-1-5-18";
constexpr const char* kTrustedInstallerSid =
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// Users, Authenticated Users, Everyone: every signed-in standard user holds all three.
constexpr const char* kStandardUserSids[] = {"S-1-5-32-545", "S-1-5-11", "S-1-1-0"};

bool TooLong(const std::string& path) {
    return path.size() > kMaxPath - 1;
}

OsResult LastError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<OsResult>(error) : kErrInvalidParameter;
}

// "S-1-5-18"; empty for no SID.
std::string SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) {
        return {};
    }
    const UniqueLocal owned(text);
    return Gbk(text);  // digits and dashes
}

std::string RunningAccountSid() {
    UniqueToken token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) {
        return {};
    }
    std::vector<unsigned char> buffer(size);  // new[] memory: aligned for TOKEN_USER
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    return SidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
}

FileOwner OwnerOf(PSID owner) {
    const std::string sid = SidText(owner);
    if (sid.empty()) {
        return FileOwner::Other;
    }
    if (sid == kAdministratorsSid) {
        return FileOwner::Administrators;
    }
    if (sid == kSystemSid) {
        return FileOwner::System;
    }
    if (sid == kTrustedInstallerSid) {
        return FileOwner::TrustedInstaller;
    }
    return sid == RunningAccountSid() ? FileOwner::RunningAccount : FileOwner::Other;
}

bool IsStandardUserSid(const std::string& sid) {
    for (const char* standard : kStandardUserSids) {
        if (sid == standard) {
            return true;
        }
    }
    return false;
}

// The DACL walked as Windows checks access for a token holding the three
// standard-user groups. A conditional (callback) allow counts as granted and
// a conditional deny as absent: the answer errs towards "may change it".
std::uint32_t StandardUserRights(PACL dacl) {
    if (dacl == nullptr) {
        return FILE_ALL_ACCESS;  // no DACL: everyone may do everything
    }
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    DWORD allowed = 0;
    DWORD denied = 0;
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!GetAce(dacl, index, &ace)) {
            break;
        }
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        const bool allow = header->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                           header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
        const bool deny = header->AceType == ACCESS_DENIED_ACE_TYPE;
        if ((!allow && !deny) || (header->AceFlags & INHERIT_ONLY_ACE) != 0) {
            continue;
        }
        // These ACE types are laid out alike: header, mask, then the SID.
        auto* body = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (!IsStandardUserSid(SidText(&body->SidStart))) {
            continue;
        }
        DWORD mask = body->Mask;
        MapGenericMask(&mask, &mapping);
        if (allow) {
            allowed |= mask & ~denied;
        } else {
            denied |= mask & ~allowed;
        }
    }
    return allowed;
}

}  // namespace

OsResult Win32FileSystem::ApplySecurity(const std::string& path, const std::string& sddl) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(Wide(sddl).c_str(), SDDL_REVISION_1,
                                                              &raw, nullptr)) {
        return LastError();
    }
    const UniqueLocal descriptor(raw);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL defaulted = FALSE;
    BOOL daclPresent = FALSE;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorOwner(raw, &owner, &defaulted) ||
        !GetSecurityDescriptorDacl(raw, &daclPresent, &dacl, &defaulted) ||
        !GetSecurityDescriptorControl(raw, &control, &revision)) {
        return LastError();
    }
    SECURITY_INFORMATION parts = owner != nullptr ? OWNER_SECURITY_INFORMATION : 0;
    if (daclPresent) {
        parts |= DACL_SECURITY_INFORMATION |
                 ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION);
    }
    if (parts == 0) {
        return kErrInvalidParameter;  // nothing to apply
    }
    std::wstring name = Wide(path);  // the function takes a non-const name
    return static_cast<OsResult>(
        SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, parts, owner, nullptr, dacl, nullptr));
}

OsResult Win32FileSystem::CreateFolderWithSecurity(const std::string& path,
                                                   const std::string& sddl) {
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (sddl.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                            Wide(sddl).c_str(), SDDL_REVISION_1, &raw, nullptr)) {
        return sddl.empty() ? kErrInvalidParameter : LastError();
    }
    const UniqueLocal descriptor(raw);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, raw, FALSE};
    const std::wstring folder = Wide(path);
    if (CreateDirectoryW(folder.c_str(), &attributes)) {
        return kOk;
    }
    if (GetLastError() != ERROR_INVALID_OWNER) {
        return LastError();
    }
    // A token that may not name Administrators as owner at creation: the
    // folder is made with the DACL alone, then given its owner.
    if (!SetSecurityDescriptorOwner(raw, nullptr, FALSE) ||
        !CreateDirectoryW(folder.c_str(), &attributes)) {
        return LastError();
    }
    return ApplySecurity(path, sddl);
}

OsResult Win32FileSystem::GetFolderSecurity(const std::string& path, FolderSecurity& security) {
    security = FolderSecurity{};
    if (TooLong(path)) {
        return kErrFilenameTooLong;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    const DWORD result = GetNamedSecurityInfoW(
        Wide(path).c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &owner, nullptr, &dacl, nullptr, &raw);
    if (result != ERROR_SUCCESS) {
        return static_cast<OsResult>(result);
    }
    const UniqueLocal descriptor(raw);
    security.owner = OwnerOf(owner);
    security.standardUserRights = StandardUserRights(dacl);
    return kOk;
}

}  // namespace vk::win32
