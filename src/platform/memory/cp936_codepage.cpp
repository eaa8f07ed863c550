#include "platform/memory/cp936_codepage.h"

#include <cstddef>
#include <unordered_map>

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
                if (row.lead != byte)
                    continue;
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
        if (toUpper && byte >= 'a' && byte <= 'z')
            out[i] = static_cast<char>(byte - 'a' + 'A');
        if (!toUpper && byte >= 'A' && byte <= 'Z')
            out[i] = static_cast<char>(byte - 'A' + 'a');
    }
    return out;
}

// GBK codes (lead byte << 8 | trail byte) whose Unicode values follow in a run.
struct UnicodeRun {
    std::uint16_t firstCode;
    char16_t firstUnit;
    unsigned count;
};

constexpr UnicodeRun kRuns[] = {
    {0xA2A1, 0x2170, 10},  // small Roman numerals i to x
    {0xA2F1, 0x2160, 12},  // Roman numerals I to XII
    {0xA3A1, 0xFF01, 94},  // full-width ASCII (two exceptions follow in kSingles)
    {0xA6A1, 0x0391, 17},  // Greek capitals Alpha to Rho
    {0xA6B2, 0x03A3, 7},   // Sigma to Omega
    {0xA6C1, 0x03B1, 17},  // alpha to rho
    {0xA6D2, 0x03C3, 7},   // sigma to omega (no final sigma)
    {0xA7A1, 0x0410, 6},   // Cyrillic A to IE
    {0xA7A7, 0x0401, 1},   // IO
    {0xA7A8, 0x0416, 26},  // ZHE to YA
    {0xA7D1, 0x0430, 6},   // a to ie
    {0xA7D7, 0x0451, 1},   // io
    {0xA7D8, 0x0436, 26},  // zhe to ya
};

struct Single {
    std::uint16_t code;
    char16_t unit;
};

constexpr Single kSingles[] = {
    {0xA3A4, 0xFFE5},
    {0xA3FE, 0xFFE3},  // full-width yen sign and macron
    // Pinyin letters, lower case only: a with macron, acute, caron, grave; e...; ...
    {0xA8A1, 0x0101},
    {0xA8A2, 0x00E1},
    {0xA8A3, 0x01CE},
    {0xA8A4, 0x00E0},
    {0xA8A5, 0x0113},
    {0xA8A6, 0x00E9},
    {0xA8A7, 0x011B},
    {0xA8A8, 0x00E8},
    {0xA8A9, 0x012B},
    {0xA8AA, 0x00ED},
    {0xA8AB, 0x01D0},
    {0xA8AC, 0x00EC},
    {0xA8AD, 0x014D},
    {0xA8AE, 0x00F3},
    {0xA8AF, 0x01D2},
    {0xA8B0, 0x00F2},
    {0xA8B1, 0x016B},
    {0xA8B2, 0x00FA},
    {0xA8B3, 0x01D4},
    {0xA8B4, 0x00F9},
    {0xA8B5, 0x01D6},
    {0xA8B6, 0x01D8},
    {0xA8B7, 0x01DA},
    {0xA8B8, 0x01DC},
    {0xA8B9, 0x00FC},
    {0xA8BA, 0x00EA},
    {0xA8BB, 0x0251},
    {0xA8BD, 0x0144},
    {0xA8BE, 0x0148},
    {0xA8C0, 0x0261},
    // Chinese characters of the tests: the product folder's name, "install",
    // the unnamed profile's name, "long", "path".
    {0xC5FA, 0x6279},
    {0xB4F2, 0x6253},
    {0xD3A1, 0x5370},
    {0xC8ED, 0x8F6F},
    {0xBCFE, 0x4EF6},
    {0xB0B2, 0x5B89},
    {0xD7B0, 0x88C5},
    {0xCEB4, 0x672A},
    {0xC3FC, 0x547D},
    {0xC3FB, 0x540D},
    {0xC5E4, 0x914D},
    {0xD6C3, 0x7F6E},
    {0xB3A4, 0x957F},
    {0xC2B7, 0x8DEF},
};

constexpr char16_t kEuro = 0x20AC;  // the one single byte above ASCII: 0x80
constexpr char32_t kStandInBase = 0xF0000;
constexpr unsigned kTrailsPerLead = 190;  // 0x40 to 0xFE without 0x7F

bool IsTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

struct Tables {
    std::unordered_map<std::uint16_t, char16_t> toUnicode;
    std::unordered_map<char16_t, std::uint16_t> toCode;

    Tables() {
        for (const UnicodeRun& run : kRuns) {
            for (unsigned i = 0; i < run.count; ++i)
                Add(static_cast<std::uint16_t>(run.firstCode + i),
                    static_cast<char16_t>(run.firstUnit + i));
        }
        for (const Single& single : kSingles) {
            toCode.erase(toUnicode[single.code]);  // a run's guess that this replaces
            Add(single.code, single.unit);
        }
    }
    void Add(std::uint16_t code, char16_t unit) {
        toUnicode[code] = unit;
        toCode[unit] = code;
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

// The plane-15 stand-in of a double-byte character the tables do not know.
void AppendStandIn(std::u16string& out, unsigned char lead, unsigned char trail) {
    const unsigned trailIndex = trail < 0x7F ? trail - 0x40u : trail - 0x41u;
    const char32_t point =
        kStandInBase + static_cast<char32_t>((lead - 0x81u) * kTrailsPerLead + trailIndex);
    out += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
}

// The double-byte character a stand-in pair names, or 0.
std::uint16_t CodeOfStandIn(char16_t high, char16_t low) {
    if (high < 0xD800 || high > 0xDBFF || low < 0xDC00 || low > 0xDFFF)
        return 0;
    const char32_t point = 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) +
                           (static_cast<char32_t>(low) - 0xDC00);
    if (point < kStandInBase || point >= kStandInBase + 126 * kTrailsPerLead)
        return 0;
    const unsigned index = static_cast<unsigned>(point - kStandInBase);
    const unsigned trailIndex = index % kTrailsPerLead;
    const unsigned trail = trailIndex < 0x3F ? trailIndex + 0x40 : trailIndex + 0x41;
    return static_cast<std::uint16_t>(((index / kTrailsPerLead + 0x81) << 8) | trail);
}

// CharUpperBuffW for the letters a test may meet: Latin (with the accented
// ones of Latin-1 and the pinyin letters), Greek, Cyrillic, Roman numerals
// and full-width Latin. Other code units stay.
char16_t UpperUnit(char16_t unit) {
    const auto shifted = [&](int by) { return static_cast<char16_t>(unit + by); };
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7))
        return shifted(-32);
    if (unit == 0xFF)
        return 0x0178;
    // Latin Extended-A: capital and small letters alternate (the Turkish i's apart).
    if (unit == 0x0131)
        return u'I';
    if ((unit >= 0x0100 && unit <= 0x012F) || (unit >= 0x0132 && unit <= 0x0137) ||
        (unit >= 0x014A && unit <= 0x0177))
        return (unit % 2 == 1) ? shifted(-1) : unit;
    if ((unit >= 0x0139 && unit <= 0x0148) || (unit >= 0x0179 && unit <= 0x017E))
        return (unit % 2 == 0) ? shifted(-1) : unit;
    if (unit >= 0x01CD && unit <= 0x01DC)  // A, I, O, U with caron, U with diaeresis
        return (unit % 2 == 0) ? shifted(-1) : unit;
    if (unit == 0x01F9)
        return 0x01F8;
    if (unit == 0x03C2)
        return 0x03A3;  // final sigma
    if ((unit >= 0x03B1 && unit <= 0x03C9) || (unit >= 0x0430 && unit <= 0x044F) ||
        (unit >= 0xFF41 && unit <= 0xFF5A))
        return shifted(-32);
    if (unit >= 0x0450 && unit <= 0x045F)
        return shifted(-80);
    if (unit >= 0x2170 && unit <= 0x217F)
        return shifted(-16);
    return unit;
}

}  // namespace

bool Cp936CodePage::IsLeadByte(unsigned char byte) const {
    return byte >= 0x81 && byte <= 0xFE;
}

std::string Cp936CodePage::ToUpper(const std::string& text) const {
    return ChangeCase(text, true, *this);
}

std::string Cp936CodePage::ToLower(const std::string& text) const {
    return ChangeCase(text, false, *this);
}

std::u16string Cp936CodePage::ToWide(const std::string& text) const {
    const Tables& tables = TheTables();
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char16_t>(byte);
        } else if (byte == 0x80) {
            out += kEuro;
        } else if (IsLeadByte(byte) && i + 1 < text.size() &&
                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            const auto trail = static_cast<unsigned char>(text[++i]);
            const auto known = tables.toUnicode.find(static_cast<std::uint16_t>(byte << 8 | trail));
            if (known != tables.toUnicode.end()) {
                out += known->second;
            } else {
                AppendStandIn(out, byte, trail);
            }
        } else {
            out += u'?';  // no character: a lone lead byte, or 0xFF
        }
    }
    return out;
}

std::string Cp936CodePage::ToAnsi(const std::u16string& text) const {
    const Tables& tables = TheTables();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        std::uint16_t code = 0;
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        if (unit == kEuro) {
            out += static_cast<char>(0x80);
            continue;
        }
        if (const auto known = tables.toCode.find(unit); known != tables.toCode.end()) {
            code = known->second;
        } else if (i + 1 < text.size() && (code = CodeOfStandIn(unit, text[i + 1])) != 0) {
            ++i;
        } else {
            out += '?';
            continue;
        }
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

std::u16string Cp936CodePage::ToUpperWide(const std::u16string& text) const {
    std::u16string out = text;
    for (char16_t& unit : out)
        unit = UpperUnit(unit);
    return out;
}

bool Cp936CodePage::Represents(char16_t unit) const {
    return unit < 0x80 || unit == kEuro || TheTables().toCode.count(unit) != 0;
}

}  // namespace vk::memory
