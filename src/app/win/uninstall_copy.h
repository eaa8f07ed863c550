#pragma once
// A running program cannot delete its own file, on Windows or under Wine, so
// the uninstaller in the product folder (the starter) copies itself to the
// temporary folder and lets the copy do the uninstall. The starter waits for
// the copy's result and ends with it as its exit code, so that a deployment
// tool reads the real result; the copy then waits for the starter to end,
// removes the uninstaller and the product folder, and has its own file
// deleted when Windows next starts.
#include <string>

#include "platform/log.h"

namespace vk::win32 {

// In the starter: runs the copy with `arguments` (switches for the copy,
// without the program) and the switch that makes it the copy, naming the
// starter's own folder as the product folder; the copy's result, or 4 when
// the copy could not be started or ended without one.
int RunUninstallCopy(const std::string& arguments, Log& log);

// In the copy: the link back to the starter, from the value of /UNINSTALLCOPY=.
class StarterLink {
public:
    // False when `value` does not name a starter, its result pipe and the
    // product folder (which goes to `productDir`).
    bool Parse(const std::string& value, std::string& productDir);
    // Hands the result to the starter, which then ends with it.
    void Report(int exitCode);
    // Waits (bounded) until the starter has ended, so its file can go.
    bool WaitForStarterToEnd();

private:
    unsigned long starterId_ = 0;
    void* pipe_ = nullptr;  // the write end, inherited from the starter
};

// Asks Windows to delete this program's own file when it next starts.
void DeleteOwnFileLater(Log& log);

}  // namespace vk::win32
