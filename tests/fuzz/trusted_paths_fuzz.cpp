// Composing "TRUSTEDPATHS" from any old list and any install folder: the old
// entries survive whole and in order, and the folder ends up listed once. A
// list within the code page composes in UTF-16 exactly as in ANSI text.
#include <cstddef>
#include <optional>

#include "core/mbcs.h"
#include "engine/trusted_paths.h"
#include "fuzz_support.h"
#include "platform/memory/cp936_codepage.h"

namespace {

const vk::memory::Cp936CodePage kCp;

// Entries of `list` that each name `folder` by the presence rule.
std::size_t Mentions(const std::vector<std::string>& entries, const std::string& folder) {
    std::size_t count = 0;
    for (const std::string& entry : entries)
        count += vk::TrustedPathsHold(entry, folder, kCp) ? 1 : 0;
    return count;
}

// No character whose case changes across the code page's edge: the ANSI and
// the UTF-16 rules upper-case such a text alike.
bool CaseStaysInCodePage(const std::u16string& text) {
    const std::u16string upper = kCp.ToUpperWide(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper[i] != text[i] && !(kCp.Represents(text[i]) && kCp.Represents(upper[i])))
            return false;
    }
    return true;
}

// The UTF-16 form of the composition, as ANSI text; nothing when the inputs
// are not within the code page.
std::optional<std::string> ComposedWide(const std::string& oldList, const std::string& folder) {
    const std::u16string wideOld = kCp.ToWide(oldList);
    const std::u16string wideFolder = kCp.ToWide(folder);
    if (kCp.ToAnsi(wideOld) != oldList || kCp.ToAnsi(wideFolder) != folder ||
        !CaseStaysInCodePage(wideOld + wideFolder)) {
        return std::nullopt;
    }
    return kCp.ToAnsi(vk::ComposeTrustedPaths(wideOld, wideFolder, kCp));
}

bool EndsWithLoneLeadByte(const std::string& text) {
    return !text.empty() && vk::CharacterStarts(kCp, text).back() + 1 == text.size() &&
           kCp.IsLeadByte(static_cast<unsigned char>(text.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::uint8_t shape = input.Byte();
    const std::string folder = input.ShortText();
    std::string oldList = input.Rest();
    // Lists longer than the 13000-byte buffer of a registry read are cheap to
    // reach by repeating a short one; now and then, as they are slow to check.
    if ((shape & 0x0F) == 0x0F && !oldList.empty()) {
        while (oldList.size() < 13000u + (shape >> 4))
            oldList += oldList;
    }

    const std::string composed = vk::ComposeTrustedPaths(oldList, folder, kCp);
    const std::optional<std::string> wide = ComposedWide(oldList, folder);
    FUZZ_CHECK(!wide || *wide == composed);
    if (oldList.empty()) {
        FUZZ_CHECK(composed == folder);
        return 0;
    }
    const std::string upperOld = kCp.ToUpper(oldList);
    const std::string upperFolder = kCp.ToUpper(folder);
    const bool before = vk::TrustedPathsHold(oldList, folder, kCp);
    // Nothing is truncated: the whole old list, upper-cased, then nothing or
    // the upper-cased folder. Its separator is doubled after a lead byte that
    // lacks its trail byte, which takes the first one.
    if (before) {
        FUZZ_CHECK(composed == upperOld);
    } else {
        const char* separator = EndsWithLoneLeadByte(upperOld) ? ";;" : ";";
        FUZZ_CHECK(composed == upperOld + separator + upperFolder);
    }
    // Entry by entry, the old ones come first, in order, upper-cased.
    const std::vector<std::string> oldEntries = vk::SplitText(kCp, oldList, ';');
    const std::vector<std::string> newEntries = vk::SplitText(kCp, composed, ';');
    FUZZ_CHECK(newEntries.size() >= oldEntries.size());
    for (std::size_t i = 0; i < oldEntries.size(); ++i) {
        const std::string upper = kCp.ToUpper(oldEntries[i]);
        const bool last = i + 1 == oldEntries.size();
        FUZZ_CHECK(newEntries[i] == upper || (!before && last && EndsWithLoneLeadByte(upper) &&
                                              newEntries[i] == upper + ";"));
    }
    // The folder is listed, and listed once unless it was listed before (a
    // folder with ";" in its name is no single entry to count; counting in
    // long lists would slow the search down for no new case).
    FUZZ_CHECK(vk::TrustedPathsHold(composed, folder, kCp));
    if (vk::FindChar(kCp, folder, ';') == vk::kNoPos && newEntries.size() <= 64) {
        const std::size_t earlier = Mentions(oldEntries, folder);
        FUZZ_CHECK(Mentions(newEntries, folder) == (before ? earlier : 1));
    }
    // A second installation into the same folder changes nothing.
    FUZZ_CHECK(vk::ComposeTrustedPaths(composed, folder, kCp) == composed);
    return 0;
}
