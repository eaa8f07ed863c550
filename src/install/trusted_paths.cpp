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
    const std::vector<std::string> entries = SplitText(cp, cp.ToUpper(list), ';');
    // A folder whose name holds ";" is as many entries as it has pieces.
    const std::vector<std::string> pieces =
        SplitText(cp, cp.ToUpper(FolderOfEntry(folder, cp)), ';');
    for (std::size_t first = 0; first + pieces.size() <= entries.size(); ++first) {
        std::size_t matched = 0;
        while (matched + 1 < pieces.size() && entries[first + matched] == pieces[matched])
            ++matched;
        if (matched + 1 == pieces.size() &&
            FolderOfEntry(entries[first + matched], cp) == pieces.back()) {
            return true;
        }
    }
    return false;
}

std::string ComposeTrustedPaths(const std::string& oldList, const std::string& folder,
                                const ICodePage& cp) {
    if (oldList.empty())
        return folder;
    std::string upperList = cp.ToUpper(oldList);  // returned as it is: moved, not copied
    if (TrustedPathsHold(upperList, folder, cp))
        return upperList;
    // A lead byte at the very end would take the separator for its trail
    // byte, as every reader of the code page does, and glue the folder to the
    // last entry: it gets a separator of its own first.
    const bool loneLeadAtEnd = CharacterStarts(cp, upperList).back() + 1 == upperList.size() &&
                               cp.IsLeadByte(static_cast<unsigned char>(upperList.back()));
    return upperList + (loneLeadAtEnd ? ";;" : ";") + cp.ToUpper(folder);
}

}  // namespace vk
