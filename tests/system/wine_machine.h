#pragma once
// The Wine machine the Windows tests run on: finding fixture files, seeding
// the registry from regedit exports and removing what a test put there.
#include <windows.h>

#include <optional>
#include <string>

namespace vk::systest {

// Windows path of a file below tests/fixtures, e.g.
// FixturePath("registry/m1-chs-2018-x64.reg"); '/' may separate folders.
std::string FixturePath(const std::string& relative);

// Imports a .reg file with "regedit /S". True when the file exists and regedit
// ended with exit code 0 (regedit itself says nothing about bad lines).
bool ImportRegFile(const std::string& path);

// Deletes a key with everything below it. True when the key is absent afterwards.
bool DeleteRegTree(HKEY root, const std::string& path);

bool RegKeyExists(HKEY root, const std::string& path);

// A REG_SZ value, as the ANSI registry functions return it; nullopt when the
// key or the value is missing or has another type.
std::optional<std::string> ReadRegString(HKEY root, const std::string& path,
                                         const std::string& name);

// Removes every key a sample AutoCAD machine brings: HKLM\SOFTWARE\Autodesk,
// HKLM\SOFTWARE\Wow6432Node\Autodesk and HKCU\Software\Autodesk. True when all
// three are gone.
bool ClearAutodeskKeys();

// A sample AutoCAD machine for the length of a test: clears the Autodesk keys
// a failed test may have left, imports a registry fixture, and clears the
// Autodesk keys again when it goes out of scope.
class SampleMachine {
public:
    // `regFixture` is relative to tests/fixtures, e.g. "registry/m1-chs-2018-x64.reg".
    explicit SampleMachine(const std::string& regFixture);
    ~SampleMachine();
    SampleMachine(const SampleMachine&) = delete;
    SampleMachine& operator=(const SampleMachine&) = delete;

    // Tests ASSERT on this before relying on the machine.
    bool Imported() const { return imported_; }

private:
    bool imported_ = false;
};

}  // namespace vk::systest
