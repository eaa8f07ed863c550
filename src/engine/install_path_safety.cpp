#include "engine/install_path_safety.h"

#include <vector>

#include "core/mbcs.h"
#include "engine/find_scope.h"
#include "engine/install_paths.h"
#include "engine/installation.h"

namespace vk {
namespace {

// The folders of an absolute path below its drive root, outermost first:
// "C:\a\b" gives "C:\a", "C:\a\b".
std::vector<std::string> FoldersBelowRoot(const ICodePage& cp, const std::string& path) {
    std::vector<std::string> folders;
    std::string soFar = path.substr(0, 2);
    if (path.size() <= 3)
        return folders;
    for (const std::string& name : SplitText(cp, path.substr(3), '\\')) {
        soFar = JoinPath(soFar, name);
        folders.push_back(soFar);
    }
    return folders;
}

// The folder's own entry, when it exists and is a folder.
std::optional<FindEntry> ExistingFolder(IFileSystem& files, const std::string& path) {
    FindScope find(files);
    FindEntry entry;
    if (find.First(path, entry) != kOk || (entry.attributes & kAttrDirectory) == 0)
        return std::nullopt;
    return entry;
}

// What makes `folder` replaceable, from its owner and the rights in `counted`.
ReplaceableFolder Judge(IFileSystem& files, const std::string& folder, std::uint32_t counted) {
    ReplaceableFolder judged{folder};
    FolderSecurity security;
    if (files.GetFolderSecurity(folder, security) != kOk) {
        judged.unreadable = true;
        return judged;
    }
    judged.foreignOwner = security.owner == FileOwner::Other;
    judged.rights = security.standardUserRights & counted;
    return judged;
}

bool Replaceable(const ReplaceableFolder& folder) {
    return folder.foreignOwner || folder.unreadable || folder.rights != 0 ||
           folder.rootDeletesChild;
}

}  // namespace

bool IsLink(const FindEntry& entry) {
    if ((entry.attributes & kAttrReparsePoint) == 0)
        return false;
    return entry.reparseTag == kReparseTagSymlink || entry.reparseTag == kReparseTagMountPoint ||
           entry.reparseTag == 0;
}

std::optional<std::string> FindLinkOnPath(const Services& services, const std::string& installDir) {
    for (const std::string& folder : FoldersBelowRoot(services.codePage, installDir)) {
        const std::optional<FindEntry> entry = ExistingFolder(services.files, folder);
        if (!entry)
            break;  // nothing below a missing folder exists
        if (IsLink(*entry))
            return folder;
    }
    return std::nullopt;
}

std::optional<ReplaceableFolder> FindReplaceableFolder(const Services& services,
                                                       const std::string& chosenFolder) {
    const std::string productDir = InstallDirOf(chosenFolder);
    const std::vector<std::string> folders = FoldersBelowRoot(services.codePage, productDir);
    const std::string& top = folders.front();

    // The drive root: only its FILE_DELETE_CHILD matters, and whether or not
    // the top folder exists yet.
    const std::string root = chosenFolder.substr(0, 2) + '\\';
    ReplaceableFolder rootJudged = Judge(services.files, root, kRightDeleteChild);
    ReplaceableFolder topJudged{top};
    topJudged.unreadable = rootJudged.unreadable;
    topJudged.rootDeletesChild = rootJudged.rights != 0;
    if (Replaceable(topJudged))
        return topJudged;

    for (const std::string& folder : folders) {
        if (!ExistingFolder(services.files, folder))
            break;
        const bool product = &folder == &folders.back();
        ReplaceableFolder judged =
            Judge(services.files, folder,
                  kReplacingRights | (product ? kRightAddFile | kRightAddSubfolder : 0));
        if (Replaceable(judged))
            return judged;
    }
    return std::nullopt;
}

}  // namespace vk
