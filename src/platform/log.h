#pragma once
// The run's log: what the setup did, left out and failed, one line at a time.
// Lines are ANSI text like everything else in the core, or wide text where a
// value may hold what the code page lacks; an implementation decides where they go (a UTF-8 file,
// memory, nowhere) and how an error number reads. Failures are counted whether or not the lines are
// kept, so that a run knows it must not report plain success.
#include <cstddef>
#include <string>

#include "platform/os_error.h"

namespace vk {

class Log {
public:
    virtual ~Log() = default;

    void Info(const std::string& text) { WriteLine(text); }
    // A line with text the ANSI code page may lack (a registry value as it is
    // stored): the file log keeps every character; a log of ANSI lines shows
    // "?" for one it lacks.
    void Info(const std::u16string& text) { WriteWideLine(text); }
    // Left out on purpose (an AutoCAD folder without Fonts): not a failure.
    void Skipped(const std::string& text) { WriteLine("Skipped: " + text); }
    // A step that should have worked and did not, with the system's reason.
    void Failed(const std::string& text, OsResult error) {
        ++failures_;
        WriteLine("FAILED: " + text + " (" + ErrorText(error) + ")");
    }
    // A failure that has no system error behind it (a question answered Ignore).
    void Failed(const std::string& text) {
        ++failures_;
        WriteLine("FAILED: " + text);
    }
    std::size_t Failures() const { return failures_; }

protected:
    virtual void WriteLine(const std::string& line) = 0;
    virtual void WriteWideLine(const std::u16string& line) = 0;
    // The system's text for a Win32 error number, ANSI, without line breaks.
    virtual std::string ErrorText(OsResult error) = 0;

private:
    std::size_t failures_ = 0;
};

}  // namespace vk
