#pragma once
// The log of a run as a UTF-8 text file: every line stamped with the local
// time and written through at once, so a run that is cut short still leaves
// what it did. Until a file is opened, lines go nowhere (failures are still
// counted): without /LOG no log is written.
#include <string>

#include "platform/log.h"
#include "platform/win32/unique_handle.h"

namespace vk::win32 {

class FileLog : public Log {
public:
    // Creates or replaces `path`. kOk, or the system's error.
    OsResult Open(const std::string& path);
    // Opens `path` to go on at its end (the uninstaller's copy continues the
    // log its starter began), creating it when missing.
    OsResult OpenToAppend(const std::string& path);
    // A new file "Varnok Setup Log YYYY-MM-DD #NNN.txt" in `folder`, never
    // one that exists already. kOk, or the system's error.
    OsResult OpenDated(const std::string& folder);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // The path of the open file ("" when none).
    const std::string& Path() const { return path_; }

protected:
    void WriteLine(const std::string& line) override;
    std::string ErrorText(OsResult error) override;

private:
    OsResult Create(const std::string& path, unsigned long access, unsigned long disposition);

    UniqueFile file_;
    std::string path_;
};

// ANSI text (the process's code page) as UTF-8; bytes that do not convert
// come out as U+FFFD.
std::string AnsiToUtf8(const std::string& text);

}  // namespace vk::win32
