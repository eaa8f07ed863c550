#include "platform/win32/gbk_text.h"

#include "platform/win32/windows_api.h"

namespace vk::win32 {
namespace {

// Conversions run in pieces an int can count; a piece never ends inside a
// double-byte character or a surrogate pair.
constexpr std::size_t kPiece = 1 << 20;

std::size_t GbkPieceEnd(std::string_view text, std::size_t from) {
    if (text.size() - from <= kPiece)
        return text.size();
    std::size_t at = from;
    while (at - from < kPiece) {
        const bool lead = IsDBCSLeadByteEx(kTextCodePage, static_cast<BYTE>(text[at])) != FALSE;
        at += lead && at + 1 < text.size() ? 2 : 1;
    }
    return at;
}

std::size_t WidePieceEnd(std::wstring_view text, std::size_t from) {
    if (text.size() - from <= kPiece)
        return text.size();
    std::size_t at = from + kPiece;
    if (IS_HIGH_SURROGATE(text[at - 1]))
        --at;
    return at;
}

// WideCharToMultiByte into GBK; `exact` fails on a character GBK lacks
// (no best-fit look-alike, no default character).
bool Convert(std::wstring_view wide, bool exact, std::string& gbk) {
    gbk.clear();
    for (std::size_t from = 0; from < wide.size();) {
        const std::size_t to = WidePieceEnd(wide, from);
        const int size = static_cast<int>(to - from);
        const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
        BOOL usedDefault = FALSE;
        BOOL* checkDefault = exact ? &usedDefault : nullptr;
        const int length = WideCharToMultiByte(kTextCodePage, flags, wide.data() + from, size,
                                               nullptr, 0, nullptr, checkDefault);
        if (length <= 0 || usedDefault)
            return false;
        const std::size_t at = gbk.size();
        gbk.resize(at + static_cast<std::size_t>(length));
        WideCharToMultiByte(kTextCodePage, flags, wide.data() + from, size, gbk.data() + at, length,
                            nullptr, nullptr);
        from = to;
    }
    return true;
}

}  // namespace

std::wstring Wide(std::string_view gbk) {
    std::wstring wide;
    for (std::size_t from = 0; from < gbk.size();) {
        const std::size_t to = GbkPieceEnd(gbk, from);
        const int size = static_cast<int>(to - from);
        const int length =
            MultiByteToWideChar(kTextCodePage, 0, gbk.data() + from, size, nullptr, 0);
        if (length > 0) {
            const std::size_t at = wide.size();
            wide.resize(at + static_cast<std::size_t>(length));
            MultiByteToWideChar(kTextCodePage, 0, gbk.data() + from, size, wide.data() + at,
                                length);
        }
        from = to;
    }
    return wide;
}

std::string Gbk(std::wstring_view wide) {
    std::string gbk;
    if (!Convert(wide, false, gbk))
        gbk.clear();
    return gbk;
}

OsResult ToGbk(std::wstring_view wide, std::string& gbk) {
    // A lone surrogate would come back as another character: exactly means
    // the text converts back to itself.
    if (!Convert(wide, true, gbk) || Wide(gbk) != wide) {
        gbk.clear();
        return kErrNotGbk;
    }
    return kOk;
}

bool IsGbk(std::wstring_view wide) {
    std::string gbk;
    return ToGbk(wide, gbk) == kOk;
}

}  // namespace vk::win32
