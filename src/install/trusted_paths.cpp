#include "install/trusted_paths.h"

#include "core/mbcs.h"

namespace vk {
namespace {

// The folder an entry names, without the markers that do not change it.
std::string FolderOfEntry(const std::string& entry, const ICodePage& cp) {
    if (entry.ends_with("\\...")) {
        const std::string head = entry.substr(0, entry.size() - 3);
        // The backslash must be a character of its own, not a trail byte.
        if (EndsWithChar(cp, head, '\\'))
            return head.substr(0, head.size() - 1);
    }
    return WithoutTrailingBackslash(cp, entry);
}

}  // namespace

bool TrustedPathsHold(const std::string& list, const std::string& folder, const ICodePage& cp) {
    const std::string wanted = cp.ToUpper(WithoutTrailingBackslash(cp, folder));
    for (const std::string& entry : SplitText(cp, list, ';')) {
        if (cp.ToUpper(FolderOfEntry(entry, cp)) == wanted)
            return true;
    }
    return false;
}

std::string ComposeTrustedPaths(const std::string& oldList, const std::string& folder,
                                const ICodePage& cp) {
    if (oldList.empty())
        return folder;
    const std::string upperList = cp.ToUpper(oldList);
    if (TrustedPathsHold(upperList, folder, cp))
        return upperList;
    return upperList + ';' + cp.ToUpper(folder);
}

}  // namespace vk
