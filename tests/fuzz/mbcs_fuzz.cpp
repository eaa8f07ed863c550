// The code-page 936 text helpers on arbitrary bytes: character boundaries,
// separator searches, case changes and substring search.
#include <algorithm>
#include <string_view>

#include "core/mbcs.h"
#include "fuzz_support.h"
#include "platform/memory/cp936_codepage.h"

namespace {

using vk::kNoPos;

const vk::memory::Cp936CodePage kCp;

bool IsLead(char c) {
    return kCp.IsLeadByte(static_cast<unsigned char>(c));
}

// Character starts by a walk of its own, to hold CharacterStarts to.
std::vector<std::size_t> ReferenceStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += (IsLead(text[i]) && i + 1 < text.size()) ? 2 : 1)
        starts.push_back(i);
    return starts;
}

// True when `at` starts a character that is the single byte `ch`.
bool IsSingleChar(const std::string& text, const std::vector<std::size_t>& starts, std::size_t at,
                  char ch) {
    const bool start = std::binary_search(starts.begin(), starts.end(), at);
    const bool single = !IsLead(text[at]) || at + 1 == text.size();
    return start && single && text[at] == ch;
}

void CheckSearches(const std::string& text, const std::vector<std::size_t>& starts, char ch,
                   std::size_t from) {
    std::size_t first = kNoPos;
    std::size_t firstFrom = kNoPos;
    std::size_t last = kNoPos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!IsSingleChar(text, starts, at, ch))
            continue;
        if (first == kNoPos)
            first = at;
        if (firstFrom == kNoPos && at >= from)
            firstFrom = at;
        last = at;
    }
    FUZZ_CHECK(vk::FindLastChar(kCp, text, ch) == last);
    FUZZ_CHECK(vk::FindChar(kCp, text, ch) == first);
    FUZZ_CHECK(vk::FindChar(kCp, text, ch, from) == firstFrom);
    FUZZ_CHECK(vk::EndsWithChar(kCp, text, ch) == (last != kNoPos && last + 1 == text.size()));

    // Splitting keeps every byte: the pieces joined by the separator give the text back.
    const std::vector<std::string> pieces = vk::SplitText(kCp, text, ch);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined += ch;
        joined += pieces[i];
    }
    FUZZ_CHECK(joined == text);
    const auto separators = std::count_if(text.begin(), text.end(), [&](const char& c) {
        return IsSingleChar(text, starts, static_cast<std::size_t>(&c - text.data()), ch);
    });
    FUZZ_CHECK(pieces.size() == static_cast<std::size_t>(separators) + 1);
}

// Which bytes a case change may touch: ASCII letters that are characters of
// their own, and trail bytes of the GBK rows with case pairs.
bool MayChangeCase(const std::string& text, const std::vector<std::size_t>& starts,
                   std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const bool start = std::binary_search(starts.begin(), starts.end(), at);
    if (start)
        return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    constexpr std::string_view kCaseRows = "\xA2\xA3\xA6\xA7";
    return kCaseRows.find(text[at - 1]) != std::string_view::npos;
}

void CheckCase(const std::string& text, const std::vector<std::size_t>& starts) {
    const std::string upper = kCp.ToUpper(text);
    const std::string lower = kCp.ToLower(text);
    FUZZ_CHECK(upper.size() == text.size());
    FUZZ_CHECK(lower.size() == text.size());
    FUZZ_CHECK(kCp.ToUpper(upper) == upper);
    FUZZ_CHECK(kCp.ToLower(lower) == lower);
    FUZZ_CHECK(kCp.ToUpper(lower) == upper);
    FUZZ_CHECK(kCp.ToLower(upper) == lower);
    // A case change never moves a character boundary.
    FUZZ_CHECK(vk::CharacterStarts(kCp, upper) == starts);
    FUZZ_CHECK(vk::CharacterStarts(kCp, lower) == starts);
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (upper[at] != text[at] || lower[at] != text[at])
            FUZZ_CHECK(MayChangeCase(text, starts, at));
        const auto byte = static_cast<unsigned char>(text[at]);
        if (std::binary_search(starts.begin(), starts.end(), at) && byte >= 'a' && byte <= 'z')
            FUZZ_CHECK(upper[at] == static_cast<char>(byte - 'a' + 'A'));
    }
}

void CheckFindText(const std::string& text, const std::vector<std::size_t>& starts,
                   const std::string& needle) {
    const std::size_t found = vk::FindText(kCp, text, needle);
    if (needle.empty()) {
        FUZZ_CHECK(found == 0);
        return;
    }
    std::size_t expected = kNoPos;
    for (std::size_t at : starts) {
        if (text.compare(at, needle.size(), needle) == 0) {
            expected = at;
            break;
        }
    }
    FUZZ_CHECK(found == expected);
    if (found != kNoPos) {
        FUZZ_CHECK(std::binary_search(starts.begin(), starts.end(), found));
        FUZZ_CHECK(text.compare(found, needle.size(), needle) == 0);
    }
    // Found in a text means found in the text with anything appended.
    if (found != kNoPos)
        FUZZ_CHECK(vk::FindText(kCp, text + "x", needle) == found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const char separator = static_cast<char>(input.Byte());
    const std::size_t from = input.Byte();
    const std::string needle = input.ShortText();
    const std::string text = input.Rest();

    const std::vector<std::size_t> starts = vk::CharacterStarts(kCp, text);
    FUZZ_CHECK(starts == ReferenceStarts(text));

    for (char ch : {'\\', ';', separator})
        CheckSearches(text, starts, ch, from);
    FUZZ_CHECK(vk::WithoutTrailingBackslash(kCp, text) ==
               (vk::EndsWithChar(kCp, text, '\\') ? text.substr(0, text.size() - 1) : text));
    CheckCase(text, starts);
    CheckFindText(text, starts, needle);
    return 0;
}
