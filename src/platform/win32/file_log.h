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
    // Names the log refuses to write through (kOk otherwise): the program
    // runs as an administrator, and a name a standard user made could send
    // its lines, or its emptying, into a file of the user's choosing.
    static constexpr OsResult kRefusedLink = 4395;       // ERROR_REPARSE_POINT_ENCOUNTERED
    static constexpr OsResult kRefusedFolder = 336;      // ERROR_DIRECTORY_NOT_SUPPORTED
    static constexpr OsResult kRefusedHardLinks = 1142;  // ERROR_TOO_MANY_LINKS
    // Why a name was refused, in English; "" for any other result.
    static std::string RefusalText(OsResult result);

    // Creates `path`, or empties the file there. Never through a link: the
    // name itself is opened, and a link, a folder or a file with more than
    // one hard link is refused untouched. A file it creates gets a
    // descriptor that lets only SYSTEM and Administrators write it (Users
    // read it), unless `userOwn` (the per-user stub's log in the user's own
    // %TEMP%, which the user writes again at the next logon). kOk, a
    // refusal, or the system's error.
    OsResult Open(const std::string& path, bool userOwn = false);
    // Opens `path` to go on at its end (the uninstaller's copy continues the
    // log its starter began), creating it when missing; refuses as Open does.
    OsResult OpenToAppend(const std::string& path);
    // A new file "Varnok Setup Log YYYY-MM-DD #NNN.txt" in `folder`, never
    // one that exists already (nor a link of that name). kOk, or the system's error.
    OsResult OpenDated(const std::string& folder);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // The path of the open file ("" when none).
    const std::string& Path() const { return path_; }

protected:
    void WriteLine(const std::string& line) override;
    void WriteWideLine(const std::u16string& line) override;
    std::string ErrorText(OsResult error) override;

private:
    // Opens the name itself (a link is not followed), checks what it is, and
    // keeps an append-only handle to it.
    OsResult OpenChecked(const std::string& path, unsigned long disposition, bool empty,
                         bool userOwn);
    // UTF-16 text as UTF-8 at the file's end.
    void Write(const std::wstring& text);

    UniqueFile file_;
    std::string path_;
};

}  // namespace vk::win32
