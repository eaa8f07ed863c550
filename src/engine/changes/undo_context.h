#pragma once
// What taking a change back needs: the services, where the installation
// lives, whether the run the change belongs to ended (a finished run's change
// is taken back only while it is still as the run left it; an interrupted
// run's is taken back whatever became of it, since it was being made), and
// the report of what was kept on purpose and what could not be taken back.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vk {

struct UndoReport {
    std::vector<std::string> kept;        // left on purpose: changed since, or another's
    std::vector<std::string> notRemoved;  // could not be taken back (a failure)
};

// What a run wrote into a file, once the file was written ("wrote" lines).
struct WrittenContent {
    std::uint64_t size = 0;
    std::string hash;
};

class UndoContext {
public:
    UndoContext(const Services& services, std::string productDir, UndoReport& report);

    const Services& services;
    const std::string productDir;
    // Whether the run of the change being taken back ended with its "done" line.
    bool interrupted = false;

    // What the run wrote into `path`; nothing when it never got so far.
    std::optional<WrittenContent> WrittenInto(const std::string& path) const;
    void SetWritten(std::map<std::string, WrittenContent> written) {
        written_ = std::move(written);
    }

    void Kept(const std::string& what);
    void Failed(const std::string& what, OsResult error);
    // Removes an empty folder; one that holds another's files is kept.
    void RemoveFolder(const std::string& path);
    // Whether `path` is the product folder or a folder above it.
    bool HoldsProductFolder(const std::string& path) const;
    // Puts the backup back at `path`, with the attributes the file had, and
    // removes the backup.
    void Restore(const std::string& path, const std::string& backup, std::uint32_t attributes);
    // A file is not what the run wrote: the one it had backed up (the copy
    // never took its place: its backup goes, its attributes as they were) or
    // one changed since (kept).
    void KeptOrNeverReplaced(const std::string& path, const std::string& backup,
                             std::uint32_t attributes, const std::string& hash);
    // Removes a file the run made, and says so.
    void RemoveFile(const std::string& path);
    // The settings file and its folder are taken back only in the profile of
    // the account this runs as: another account's folder is theirs.
    bool IsOwnSettings(const std::string& path);
    // Support files are taken back only in the folders of the AutoCAD
    // releases that discovery finds now.
    bool InAcadFolder(const std::string& path);

private:
    UndoReport& report_;
    std::map<std::string, WrittenContent> written_;        // by upper-cased path
    std::optional<std::vector<std::string>> acadFolders_;  // found when first needed
};

}  // namespace vk
