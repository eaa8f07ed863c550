#pragma once
// One setup at a time on the machine: a deployment tool and a double click
// must never install at once. The first setup holds a named mutex for its
// whole run; a second one finds it taken.
#include "platform/win32/unique_handle.h"

namespace vk::win32 {

class SingleSetupLock {
public:
    // Takes the machine-wide mutex; Held() tells whether this process got it.
    SingleSetupLock();
    bool Held() const { return held_; }
    // Lets go before the run ends: the uninstaller does, for the copy of
    // itself that takes the lock in its place (uninstall_copy.h).
    void Release();

private:
    UniqueProcess mutex_;  // a kernel handle whose empty value is null
    bool held_ = false;
};

}  // namespace vk::win32
