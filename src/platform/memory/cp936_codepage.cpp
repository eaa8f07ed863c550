#include "platform/memory/cp936_codepage.h"

#include <cstddef>

namespace vk::memory {
namespace {

// A double-byte letter range that has a case partner at a fixed offset.
struct CaseRow {
    unsigned char lead;
    unsigned char lowerFirst;
    unsigned char lowerLast;
    unsigned char upperFirst;
};

// GBK rows: Roman numerals (A2), full-width Latin (A3), Greek (A6), Cyrillic (A7).
constexpr CaseRow kCaseRows[] = {
    {0xA2, 0xA1, 0xAA, 0xF1},
    {0xA3, 0xE1, 0xFA, 0xC1},
    {0xA6, 0xC1, 0xD8, 0xA1},
    {0xA7, 0xD1, 0xF1, 0xA1},
};

std::string ChangeCase(const std::string& text, bool toUpper, const ICodePage& cp) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto byte = static_cast<unsigned char>(out[i]);
        if (cp.IsLeadByte(byte) && i + 1 < out.size()) {
            auto trail = static_cast<unsigned char>(out[i + 1]);
            for (const CaseRow& row : kCaseRows) {
                if (row.lead != byte) continue;
                const unsigned upperLast = row.upperFirst + (row.lowerLast - row.lowerFirst);
                if (toUpper && trail >= row.lowerFirst && trail <= row.lowerLast) {
                    out[i + 1] = static_cast<char>(trail - row.lowerFirst + row.upperFirst);
                } else if (!toUpper && trail >= row.upperFirst && trail <= upperLast) {
                    out[i + 1] = static_cast<char>(trail - row.upperFirst + row.lowerFirst);
                }
            }
            ++i;  // the trail byte is part of this character, never a letter of its own
            continue;
        }
        if (toUpper && byte >= 'a' && byte <= 'z') out[i] = static_cast<char>(byte - 'a' + 'A');
        if (!toUpper && byte >= 'A' && byte <= 'Z') out[i] = static_cast<char>(byte - 'A' + 'a');
    }
    return out;
}

}  // namespace

bool Cp936CodePage::IsLeadByte(unsigned char byte) const { return byte >= 0x81 && byte <= 0xFE; }

std::string Cp936CodePage::ToUpper(const std::string& text) const {
    return ChangeCase(text, true, *this);
}

std::string Cp936CodePage::ToLower(const std::string& text) const {
    return ChangeCase(text, false, *this);
}

}  // namespace vk::memory
