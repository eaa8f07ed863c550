#include "engine/trusted_paths.h"

#include <cstring>
#include <vector>

#include "core/mbcs.h"

namespace vk {
namespace {

// ANSI text of the code page: its characters may be two bytes long, and a
// trail byte is never a separator or a backslash.
struct AnsiList {
    using Text = std::string;
    const ICodePage& cp;

    std::vector<Text> Split(const Text& text) const { return SplitText(cp, text, ';'); }
    bool EndsWithBackslash(const Text& text) const { return EndsWithChar(cp, text, '\\'); }
    // The form written back, and the form entries are compared in.
    Text Written(const Text& text) const { return cp.ToUpper(text); }
    Text Compared(const Text& text) const { return cp.ToUpper(text); }
    // A lead byte at the very end would take the separator for its trail
    // byte, as every reader of the code page does.
    bool EndsWithLoneLeadByte(const Text& text) const {
        return !text.empty() && CharacterStarts(cp, text).back() + 1 == text.size() &&
               cp.IsLeadByte(static_cast<unsigned char>(text.back()));
    }
};

// UTF-16: ';' and '\' are code units of their own, never part of another
// character.
struct WideList {
    using Text = std::u16string;
    const ICodePage& cp;

    std::vector<Text> Split(const Text& text) const {
        std::vector<Text> pieces;
        std::size_t begin = 0;
        for (std::size_t at = text.find(u';'); at != Text::npos; at = text.find(u';', begin)) {
            pieces.push_back(text.substr(begin, at - begin));
            begin = at + 1;
        }
        pieces.push_back(text.substr(begin));
        return pieces;
    }
    bool EndsWithBackslash(const Text& text) const { return text.ends_with(u'\\'); }
    // Only where the code page has both the character and its capital, as
    // its ANSI upper-casing would: anything else it could not have written
    // back and stays as it is.
    Text Written(const Text& text) const {
        Text upper = cp.ToUpperWide(text);
        for (std::size_t i = 0; i < upper.size(); ++i) {
            if (upper[i] != text[i] && !(cp.Represents(text[i]) && cp.Represents(upper[i])))
                upper[i] = text[i];
        }
        return upper;
    }
    // Without regard to case in any script.
    Text Compared(const Text& text) const { return cp.ToUpperWide(text); }
    bool EndsWithLoneLeadByte(const Text&) const { return false; }
};

template <typename Text>
Text Ascii(const char* text) {
    return Text(text, text + std::strlen(text));
}

// The folder an entry names, without the markers that do not change it.
template <typename Form>
typename Form::Text FolderOfEntry(const typename Form::Text& entry, const Form& form) {
    using Text = typename Form::Text;
    if (entry.ends_with(Ascii<Text>("\\..."))) {
        const Text head = entry.substr(0, entry.size() - 3);
        // The backslash must be a character of its own, not a trail byte.
        if (form.EndsWithBackslash(head))
            return head.substr(0, head.size() - 1);
    }
    return form.EndsWithBackslash(entry) ? entry.substr(0, entry.size() - 1) : entry;
}

template <typename Form>
bool Holds(const typename Form::Text& list, const typename Form::Text& folder, const Form& form) {
    using Text = typename Form::Text;
    const std::vector<Text> entries = form.Split(form.Compared(list));
    // A folder whose name holds ";" is as many entries as it has pieces.
    const std::vector<Text> pieces = form.Split(form.Compared(FolderOfEntry(folder, form)));
    for (std::size_t first = 0; first + pieces.size() <= entries.size(); ++first) {
        std::size_t matched = 0;
        while (matched + 1 < pieces.size() && entries[first + matched] == pieces[matched])
            ++matched;
        if (matched + 1 == pieces.size() &&
            FolderOfEntry(entries[first + matched], form) == pieces.back()) {
            return true;
        }
    }
    return false;
}

template <typename Form>
typename Form::Text Compose(const typename Form::Text& oldList, const typename Form::Text& folder,
                            const Form& form) {
    using Text = typename Form::Text;
    if (oldList.empty())
        return folder;
    Text written = form.Written(oldList);  // returned as it is: moved, not copied
    if (Holds(written, folder, form))
        return written;
    // A lone lead byte at the end gets a separator of its own first, or it
    // would glue the folder to the last entry.
    const char* separator = form.EndsWithLoneLeadByte(written) ? ";;" : ";";
    return written + Ascii<Text>(separator) + form.Written(folder);
}

}  // namespace

bool TrustedPathsHold(const std::string& list, const std::string& folder, const ICodePage& cp) {
    return Holds(list, folder, AnsiList{cp});
}

bool TrustedPathsHold(const std::u16string& list, const std::u16string& folder,
                      const ICodePage& cp) {
    return Holds(list, folder, WideList{cp});
}

std::string ComposeTrustedPaths(const std::string& oldList, const std::string& folder,
                                const ICodePage& cp) {
    return Compose(oldList, folder, AnsiList{cp});
}

std::u16string ComposeTrustedPaths(const std::u16string& oldList, const std::u16string& folder,
                                   const ICodePage& cp) {
    return Compose(oldList, folder, WideList{cp});
}

std::u16string WithoutTrustedPath(const std::u16string& list, const std::u16string& folder,
                                  const ICodePage& cp) {
    const WideList form{cp};
    const std::u16string named = form.Compared(FolderOfEntry(folder, form));
    std::u16string kept;
    bool first = true;
    for (const std::u16string& entry : form.Split(list)) {
        if (FolderOfEntry(form.Compared(entry), form) == named)
            continue;
        if (!first)
            kept += u';';
        kept += entry;
        first = false;
    }
    return kept;
}

}  // namespace vk
