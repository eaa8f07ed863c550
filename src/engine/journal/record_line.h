#pragma once
// One line of the installation record: its kind and its fields, separated by
// tabs (a tab, line break or backslash inside a field written \t, \n, \r or
// \\), and last "#" with the CRC-32 of everything before it on the line, in
// eight hexadecimal digits. Text fields are UTF-8 on the disk, whatever the
// code page. A line that fails its check, or any field that does not read as
// what it must be, is never guessed at.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace vk {

// A registry value as it was: its name, type and bytes.
struct RecordedValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const RecordedValue&) const = default;
};

// Builds a line field by field.
class LineWriter {
public:
    LineWriter(const ICodePage& codePage, const char* kind);
    LineWriter& Text(const std::string& ansi);  // from the code page to UTF-8
    LineWriter& Number(std::uint64_t value);
    LineWriter& Flag(bool value);
    LineWriter& Value(const RecordedValue& value);  // name, type, data in hexadecimal
    LineWriter& Values(const std::vector<RecordedValue>& values);
    LineWriter& Raw(const std::string& field);
    // The line with its check and its line break.
    std::string Finish() const;

private:
    const ICodePage& codePage_;
    std::string line_;
};

// Takes a line's fields apart in order; any misfit makes every later read fail.
class LineReader {
public:
    LineReader(const ICodePage& codePage, std::vector<std::string> fields);
    // Only text the code page holds whole was ever written.
    bool Text(std::string& ansi);
    template <typename Number>
    bool Count(Number& value) {
        std::string text;
        if (!Next(text) || text.empty())
            return Fail();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        // Only as Number writes it: a leading zero was not written so.
        return (error == std::errc() && end == text.data() + text.size() &&
                std::to_string(value) == text) ||
               Fail();
    }
    bool Flag(bool& value);
    bool Hex(std::string& bytes);
    bool Value(RecordedValue& value);
    // The values that fill the rest of the line.
    bool Values(std::vector<RecordedValue>& values);
    // Every field read, and none failed.
    bool Done() const { return ok_ && next_ == fields_.size(); }

private:
    bool Next(std::string& field);
    bool Fail() { return ok_ = false; }

    const ICodePage& codePage_;
    std::vector<std::string> fields_;
    std::size_t next_ = 0;
    bool ok_ = true;
};

struct RecordFields {
    std::string kind;
    std::vector<std::string> fields;
};

// The kind and the fields of a line (without its line break) whose check
// fits; nothing otherwise.
std::optional<RecordFields> SplitRecordLine(const std::string& line);

}  // namespace vk
