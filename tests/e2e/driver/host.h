#pragma once
// The machine that runs Wine, reached from a Windows test for what no Windows call does
// there. Wine 8 makes nothing for CreateSymbolicLink and keeps no security descriptor a
// program sets, but it shows a Unix symbolic link to a folder as a reparse point (0x410), and
// it derives a file's owner and DACL from its Unix owner and mode bits (a folder others may
// write gives Everyone modify rights, DELETE among them).
#include <string>

#include "e2e/driver/driver_error.h"

namespace vk::e2e {

// The host's path of a Windows path whose folder exists. Throws DriverError.
std::string hostPathOf(const std::string& windowsPath);

// `text` quoted for /bin/sh.
std::string shellQuoted(const std::string& text);

// Runs a /bin/sh command on the host and waits until it has ended. Wine gives no handle to
// wait on for a host program: the command's exit status is written into a file, which is
// what is waited for. Throws DriverError naming the command when it fails or has not ended
// within the timeout.
void runOnHost(const std::string& command, TimeoutMs timeout = kDefaultTimeoutMs);

// A Unix symbolic link `link` to the folder `target` (Windows paths), made with ln -s and
// removed with rm when the guard ends: Wine can remove neither with Windows calls.
class HostLink {
public:
    HostLink(const std::string& link, const std::string& target);
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;
    ~HostLink();

private:
    std::string hostLink_;
};

}  // namespace vk::e2e
