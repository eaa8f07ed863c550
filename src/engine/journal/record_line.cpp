#include "engine/journal/record_line.h"

#include "core/digest.h"
#include "core/utf.h"

namespace vk {
namespace {

std::string Escape(const std::string& field) {
    std::string out;
    for (const char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The field as Escape wrote it, or false: a line break is only ever written
// escaped, and one found bare was not written so.
bool Unescape(const std::string& field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\r')
            return false;
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return false;
        switch (field[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return false;
        }
    }
    return true;
}

std::string Crc(const std::string& text) {
    return NumberHex(Crc32(text), 8);
}

}  // namespace

LineWriter::LineWriter(const ICodePage& codePage, const char* kind)
    : codePage_(codePage), line_(kind) {}

LineWriter& LineWriter::Text(const std::string& ansi) {
    return Raw(Utf16ToUtf8(codePage_.ToWide(ansi)));
}

LineWriter& LineWriter::Number(std::uint64_t value) {
    return Raw(std::to_string(value));
}

LineWriter& LineWriter::Flag(bool value) {
    return Raw(value ? "1" : "0");
}

LineWriter& LineWriter::Value(const RecordedValue& value) {
    return Text(value.name).Number(value.type).Raw(ToHex(value.data));
}

LineWriter& LineWriter::Values(const std::vector<RecordedValue>& values) {
    for (const RecordedValue& value : values)
        Value(value);
    return *this;
}

LineWriter& LineWriter::Raw(const std::string& field) {
    line_ += '\t';
    line_ += Escape(field);
    return *this;
}

std::string LineWriter::Finish() const {
    return line_ + "\t#" + Crc(line_) + "\n";
}

LineReader::LineReader(const ICodePage& codePage, std::vector<std::string> fields)
    : codePage_(codePage), fields_(std::move(fields)) {}

bool LineReader::Text(std::string& ansi) {
    std::string utf8;
    std::u16string wide;
    if (!Next(utf8) || !Utf8ToUtf16(utf8, wide))
        return Fail();
    ansi = codePage_.ToAnsi(wide);
    return codePage_.ToWide(ansi) == wide || Fail();
}

bool LineReader::Flag(bool& value) {
    std::string text;
    if (!Next(text) || (text != "0" && text != "1"))
        return Fail();
    value = text == "1";
    return true;
}

bool LineReader::Hex(std::string& bytes) {
    std::string text;
    // Only as ToHex writes it, in lower case: any other spelling was not written so.
    return (Next(text) && FromHex(text, bytes) && ToHex(bytes) == text) || Fail();
}

bool LineReader::Value(RecordedValue& value) {
    return Text(value.name) && Count(value.type) && Hex(value.data);
}

bool LineReader::Values(std::vector<RecordedValue>& values) {
    while (ok_ && fields_.size() - next_ >= 3) {
        RecordedValue value;
        if (!Value(value))
            return false;
        values.push_back(std::move(value));
    }
    return ok_;
}

bool LineReader::Next(std::string& field) {
    if (!ok_ || next_ >= fields_.size())
        return false;
    field = fields_[next_++];
    return true;
}

std::optional<RecordFields> SplitRecordLine(const std::string& line) {
    const std::size_t mark = line.rfind("\t#");
    if (mark == std::string::npos || line.size() != mark + 10 ||
        Crc(line.substr(0, mark)) != line.substr(mark + 2)) {
        return std::nullopt;
    }
    std::vector<std::string> fields;
    std::size_t start = 0;
    const std::string body = line.substr(0, mark);
    for (;;) {
        const std::size_t tab = body.find('\t', start);
        std::string field;
        if (!Unescape(body.substr(start, tab - start), field))
            return std::nullopt;
        fields.push_back(field);
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    RecordFields split{fields.front(), {}};
    split.fields.assign(fields.begin() + 1, fields.end());
    return split;
}

}  // namespace vk
