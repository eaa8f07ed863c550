#pragma once
// File checks and chores of the tests, with Windows paths in the ANSI code page.
#include <optional>
#include <string>
#include <vector>

namespace vk::e2e {

bool pathExists(const std::string& path);  // a file or a folder
bool isFolder(const std::string& path);
bool isFile(const std::string& path);

// The whole content, or nothing when the file cannot be read.
std::optional<std::string> readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);  // throws DriverError

// Names in a folder, sorted, without "." and "..".
std::vector<std::string> listFolder(const std::string& folder);

// Copies a folder with everything in it; throws DriverError.
void copyTree(const std::string& from, const std::string& to);

// Removes a file or a folder with everything in it, read-only entries too; a missing path
// is fine. Returns false when something could not be removed.
bool removeTree(const std::string& path);

// "a\b" from ("a", "b"), with exactly one backslash between.
std::string joinPath(const std::string& folder, const std::string& name);

// The folder of this test program (where the build puts every program).
std::string programFolder();

// %TEMP% without a trailing backslash.
std::string tempFolder();

// A path of the machine running Wine ("/work/x") as a Windows path ("Z:\work\x"); a
// Windows path comes back unchanged.
std::string windowsPathOfHost(const std::string& path);

// Removes, when the test ends, a path that did not exist when the guard was made: for
// folders that the program under test may create (C:\Varnok).
class CreatedPathGuard {
public:
    explicit CreatedPathGuard(std::string path);
    CreatedPathGuard(const CreatedPathGuard&) = delete;
    CreatedPathGuard& operator=(const CreatedPathGuard&) = delete;
    ~CreatedPathGuard();

    bool existedBefore() const { return existedBefore_; }

private:
    std::string path_;
    bool existedBefore_;
};

}  // namespace vk::e2e
