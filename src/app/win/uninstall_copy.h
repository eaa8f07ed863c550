#pragma once
// A running program cannot delete its own file, on Windows or under Wine, so
// the uninstaller in the product folder (the starter) copies itself into a
// new folder of %TEMP% that only SYSTEM and Administrators may enter
// (uninstall_start.h) and lets the copy do the uninstall. The starter waits
// for the copy's result and ends with it as its exit code, so that a
// deployment tool reads the real result; the copy then waits for the starter
// to end, removes the uninstaller and the product folder, and has its own
// file and folder deleted when Windows next starts.
#include <string>

#include "app/win/single_instance.h"
#include "platform/services.h"

namespace vk::win32 {

// In the starter, which holds the one-setup lock: makes the copy and runs it
// with `arguments` (switches for the copy, without the program) and the
// switch that makes it the copy. The lock is let go just before the copy
// starts, and the copy takes it itself: the starter only waits from then on,
// so the one that works holds it, for as long as it works (also after the
// starter has ended), and neither waits for a lock the other holds. Should
// another setup take the lock in that moment, the copy stops at once, having
// changed nothing. The copy's result; 1 when no copy could be made or
// started, 4 when the copy ended without one.
int RunUninstallCopy(const Services& services, const std::string& arguments, SingleSetupLock& lock);

// In the copy: the link back to the starter, from the value of /UNINSTALLCOPY=.
class StarterLink {
public:
    // False when `value` does not name a starter and its result pipe.
    bool Parse(const std::string& value);
    // Hands the result to the starter, which then ends with it.
    void Report(int exitCode);
    // Waits (bounded) until the starter has ended, so its file can go.
    bool WaitForStarterToEnd();

private:
    unsigned long starterId_ = 0;
    void* pipe_ = nullptr;  // the write end, inherited from the starter
};

// Asks Windows to delete this program's own file, then its folder (the copy's
// own, made for it alone), when it next starts.
void DeleteOwnFileLater(Log& log);

}  // namespace vk::win32
