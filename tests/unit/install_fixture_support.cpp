#include "install_fixture_support.h"

#include <algorithm>

#include "engine/user_hives.h"

namespace vk::test {

InstallMachine::InstallMachine() {
    files.SetModulePath("C:\\dist\\SetUp.exe");
    files.AddFile("C:\\dist\\SetUp.exe", "the setup program");  // copied as the uninstaller
    files.AddFolder(kDataFolder);
    files.AddFolder(kAppData);
    files.AddFolder("C:\\Varnok");  // the install page creates it before deploying
    files.SetEnvironmentVariable("APPDATA", kAppData);
    files.SetRoamingAppDataFolder(kAppData);
    prompts.SetMainWindow(0x1234);
    // Every Windows has the keys below which Apps & Features lists programs
    // and Active Setup its components.
    registry.AddKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    registry.AddKey(kHklm, "SOFTWARE\\Microsoft\\Active Setup\\Installed Components");
    // The account running the installation: a user of the profile list, its
    // hive loaded (HKEY_CURRENT_USER is HKEY_USERS\<its SID>).
    AddUser(memory::kCurrentUserSid, "C:\\Users\\me");
    registry.SetTextValue(kHkcu, kUserShellFoldersKey, "AppData", kRegExpandSz,
                          u"%USERPROFILE%\\AppData\\Roaming");
    catalog.m_strInstallDir = kInstallDir;
}

void InstallMachine::AddUser(const std::string& sid, const std::string& profileDir) {
    registry.SetTextValue(kHklm, std::string(kProfileListKey) + "\\" + sid, "ProfileImagePath",
                          kRegExpandSz, codePage.ToWide(profileDir));
}

void InstallMachine::AddDataFile(const std::string& name, const std::string& content,
                                 std::uint32_t attributes) {
    files.AddFile(kDataFolder + "\\" + name, content, attributes);
}

void InstallMachine::AddProduct(int year, const std::string& productKey,
                                const std::string& location, bool withSupportFolders) {
    const int slot = year - kFirstReleaseYear;
    catalog.m_arrProductKeys[slot].push_back(productKey);
    catalog.m_arrAcadLocations[slot].push_back(location);
    // As discovery finds it again (the uninstall looks for AutoCAD's folders).
    registry.SetStringValue(kHklm, productKey, "ProductName", "AutoCAD " + std::to_string(year));
    registry.SetStringValue(kHklm, productKey, "AcadLocation", location);
    files.AddFolder(location);
    if (withSupportFolders) {
        files.AddFolder(location + "\\Fonts");
        files.AddFolder(location + "\\Drv");
    }
}

std::string VariablesKey(const std::string& releaseAndProduct, const std::string& profile) {
    return kUserAutocad + releaseAndProduct + "\\Profiles\\" + profile + "\\Variables";
}

void InstallMachine::SetTrustedPaths(const std::string& releaseAndProduct,
                                     const std::string& profile, const std::string& list) {
    registry.SetStringValue(kHkcu, VariablesKey(releaseAndProduct, profile), "TRUSTEDPATHS", list);
}

std::optional<std::string> InstallMachine::TrustedPaths(const std::string& releaseAndProduct,
                                                        const std::string& profile) const {
    return registry.GetString(kHkcu, VariablesKey(releaseAndProduct, profile), "TRUSTEDPATHS");
}

std::size_t InstallMachine::Calls(const std::string& operation) const {
    return static_cast<std::size_t>(
        std::count(faults.Log().begin(), faults.Log().end(), operation));
}

void InstallMachine::ExpectNothingLeftOpen() const {
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    EXPECT_EQ(files.OpenFindCount(), 0u);
}

}  // namespace vk::test
