#include "core/mbcs.h"

namespace vk {

std::vector<std::size_t> CharacterStarts(const ICodePage& cp, const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        // A lead byte at the very end has no trail byte: it stands alone.
        if (cp.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            ++i;
    }
    return starts;
}

namespace {

bool IsSingleByteAt(const ICodePage& cp, const std::string& text, std::size_t at) {
    return !cp.IsLeadByte(static_cast<unsigned char>(text[at])) || at + 1 == text.size();
}

}  // namespace

std::size_t FindLastChar(const ICodePage& cp, const std::string& text, char ch) {
    std::size_t found = kNoPos;
    for (std::size_t at : CharacterStarts(cp, text)) {
        if (text[at] == ch && IsSingleByteAt(cp, text, at))
            found = at;
    }
    return found;
}

std::size_t FindChar(const ICodePage& cp, const std::string& text, char ch, std::size_t from) {
    for (std::size_t at : CharacterStarts(cp, text)) {
        if (at >= from && text[at] == ch && IsSingleByteAt(cp, text, at))
            return at;
    }
    return kNoPos;
}

std::size_t FindText(const ICodePage& cp, const std::string& text, const std::string& needle) {
    if (needle.empty())
        return 0;
    // Most searches find nothing at all: the plain byte search says so at once.
    std::size_t candidate = text.find(needle);
    if (candidate == std::string::npos)
        return kNoPos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at == candidate)
            return at;  // a match that starts on a character boundary
        if (at > candidate)
            candidate = text.find(needle, at);
        if (candidate == std::string::npos)
            return kNoPos;
        if (at == candidate)
            return at;
        if (cp.IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size())
            ++at;
    }
    return kNoPos;
}

bool EndsWithChar(const ICodePage& cp, const std::string& text, char ch) {
    if (text.empty())
        return false;
    const std::vector<std::size_t> starts = CharacterStarts(cp, text);
    const std::size_t last = starts.back();
    return last == text.size() - 1 && text[last] == ch;
}

std::string WithoutTrailingBackslash(const ICodePage& cp, const std::string& text) {
    if (EndsWithChar(cp, text, '\\'))
        return text.substr(0, text.size() - 1);
    return text;
}

std::vector<std::string> SplitText(const ICodePage& cp, const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t begin = 0;
    for (std::size_t at : CharacterStarts(cp, text)) {
        if (text[at] == separator && IsSingleByteAt(cp, text, at)) {
            pieces.push_back(text.substr(begin, at - begin));
            begin = at + 1;
        }
    }
    pieces.push_back(text.substr(begin));
    return pieces;
}

}  // namespace vk
