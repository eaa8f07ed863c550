#pragma once
// The program under test as a running process: started, watched, waited for, and ended
// when the test is over (whichever way the test leaves).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/unique_handle.h"
#include "e2e/driver/window.h"
#include "e2e/driver/window_query.h"

namespace vk::e2e {

class AppProcess {
public:
    // Starts `program` (a full path) in `workingFolder` (empty: this process's own) with the
    // command-line `arguments` after the quoted program path. Fails with DriverError.
    static AppProcess start(const std::string& program, const std::string& workingFolder = {},
                            std::string_view arguments = {});

    // The same on a machine whose code page for programs that are not Unicode is `codePage`
    // (936, 950 or 1252): Wine takes a program's code page from its locale as it starts, so
    // the program is started by `wine` on the host with that locale, then attached by its
    // id. `arguments` are words without quotes or spaces.
    static AppProcess startAtCodePage(unsigned codePage, const std::string& program,
                                      const std::string& workingFolder,
                                      std::string_view arguments = {});

    // A process that something else started (a program's own child), by its id. Fails with
    // DriverError when it cannot be opened.
    static AppProcess attach(DWORD processId);

    AppProcess(AppProcess&&) noexcept = default;
    AppProcess& operator=(AppProcess&&) = delete;
    ~AppProcess();  // ends the process if it still runs

    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }
    bool running() const;
    std::optional<DWORD> exitCode() const;  // once it has ended

    // Waits for a visible top-level window of the process. On failure, and as soon as the
    // process ends without one, throws DriverError with what was on screen.
    Window waitForWindow(const WindowQuery& query, TimeoutMs timeout = kDefaultTimeoutMs) const;
    Window waitForMessageBox(const std::string& caption,
                             TimeoutMs timeout = kDefaultTimeoutMs) const;

    // Waits for the window to be hidden or destroyed (a page left, a message box answered).
    void waitUntilClosed(const Window& window, TimeoutMs timeout = kDefaultTimeoutMs) const;

    // Waits for any condition about the program's windows; a DriverError thrown by the
    // condition counts as "not yet" (a control of a page still being built).
    void waitUntil(const std::function<bool()>& condition, std::string_view what,
                   TimeoutMs timeout = kDefaultTimeoutMs) const;

    // Waits for the process to end and returns its exit code.
    DWORD waitForExit(TimeoutMs timeout = kDefaultTimeoutMs) const;

    // The windows of the process and their controls, UTF-8.
    std::string describeScreen() const;

    // Ends the process now, if it still runs, and waits until it is gone.
    void kill();

private:
    AppProcess(UniqueHandle process, DWORD id) : process_(std::move(process)), id_(id) {}

    [[noreturn]] void failWait(std::string_view what, TimeoutMs timeout,
                               const std::string& lastError) const;

    UniqueHandle process_;
    DWORD id_ = 0;
};

}  // namespace vk::e2e
