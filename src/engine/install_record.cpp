#include "engine/install_record.h"

#include <charconv>

#include "core/digest.h"
#include "core/utf.h"
#include "engine/file_ops.h"
#include "engine/record_anchor.h"

namespace vk {
namespace {

// The first line: the format and, after a tab, the record's identifier.
constexpr const char* kFormatLine = "Varnok setup record 2";

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

bool Unescape(const std::string& field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
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

// Builds a line field by field.
class LineWriter {
public:
    LineWriter(const ICodePage& codePage, const char* kind) : codePage_(codePage), line_(kind) {}
    LineWriter& Text(const std::string& ansi) { return Raw(Utf16ToUtf8(codePage_.ToWide(ansi))); }
    LineWriter& Number(std::uint64_t value) { return Raw(std::to_string(value)); }
    LineWriter& Flag(bool value) { return Raw(value ? "1" : "0"); }
    LineWriter& Value(const RecordedValue& value) {
        return Text(value.name).Number(value.type).Raw(ToHex(value.data));
    }
    LineWriter& Raw(const std::string& field) {
        line_ += '\t';
        line_ += Escape(field);
        return *this;
    }
    std::string Finish() const { return line_ + "\t#" + Crc(line_) + "\n"; }

private:
    const ICodePage& codePage_;
    std::string line_;
};

// Takes a decoded line apart field by field; any misfit makes it fail.
class LineReader {
public:
    LineReader(const ICodePage& codePage, std::vector<std::string> fields)
        : codePage_(codePage), fields_(std::move(fields)) {}
    bool Text(std::string& ansi) {
        std::string utf8;
        std::u16string wide;
        if (!Next(utf8) || !Utf8ToUtf16(utf8, wide))
            return Fail();
        ansi = codePage_.ToAnsi(wide);
        // Only text the code page holds whole was ever written.
        return codePage_.ToWide(ansi) == wide || Fail();
    }
    template <typename Number>
    bool Count(Number& value) {
        std::string text;
        if (!Next(text) || text.empty())
            return Fail();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return (error == std::errc() && end == text.data() + text.size()) || Fail();
    }
    bool Flag(bool& value) {
        std::string text;
        if (!Next(text) || (text != "0" && text != "1"))
            return Fail();
        value = text == "1";
        return true;
    }
    bool Hex(std::string& bytes) {
        std::string text;
        return (Next(text) && FromHex(text, bytes)) || Fail();
    }
    bool Value(RecordedValue& value) {
        return Text(value.name) && Count(value.type) && Hex(value.data);
    }
    bool Done() const { return ok_ && next_ == fields_.size(); }
    std::size_t Left() const { return fields_.size() - next_; }

private:
    bool Next(std::string& field) {
        if (!ok_ || next_ >= fields_.size())
            return false;
        field = fields_[next_++];
        return true;
    }
    bool Fail() { return ok_ = false; }

    const ICodePage& codePage_;
    std::vector<std::string> fields_;
    std::size_t next_ = 0;
    bool ok_ = true;
};

struct Encoder {
    const ICodePage& cp;
    std::string operator()(const RunStarted& e) const {
        return LineWriter(cp, "run").Text(e.installDir).Text(e.version).Finish();
    }
    std::string operator()(const RunRolledBack&) const {
        return LineWriter(cp, "rolledback").Finish();
    }
    std::string operator()(const FolderCreated& e) const {
        return LineWriter(cp, "folder").Text(e.path).Finish();
    }
    std::string operator()(const FileWritten& e) const {
        return LineWriter(cp, "file")
            .Text(e.path)
            .Number(e.size)
            .Raw(e.hash)
            .Text(e.backup)
            .Finish();
    }
    std::string operator()(const SupportFilePlaced& e) const {
        return LineWriter(cp, "support")
            .Text(e.path)
            .Number(e.size)
            .Raw(e.hash)
            .Flag(e.existed)
            .Text(e.backup)
            .Finish();
    }
    std::string operator()(const DemandLoadWritten& e) const {
        LineWriter line(cp, "demandload");
        line.Text(e.productKey).Text(e.appKey).Text(e.loader).Flag(e.existed).Flag(e.parentCreated);
        for (const RecordedValue& value : e.oldValues)
            line.Value(value);
        return line.Finish();
    }
    std::string operator()(const TrustedPathsWritten& e) const {
        LineWriter line(cp, "trustedpaths");
        line.Text(e.user).Text(e.variablesKey).Text(e.folder).Flag(e.keyCreated);
        line.Flag(e.before.has_value());
        if (e.before)
            line.Value(*e.before);
        return line.Value(e.written).Finish();
    }
};

std::optional<RecordEntry> Decode(const std::string& kind, LineReader& in) {
    if (kind == "run") {
        RunStarted e;
        if (in.Text(e.installDir) && in.Text(e.version) && in.Done())
            return e;
    } else if (kind == "rolledback") {
        if (in.Done())
            return RunRolledBack{};
    } else if (kind == "folder") {
        FolderCreated e;
        if (in.Text(e.path) && in.Done())
            return e;
    } else if (kind == "file") {
        FileWritten e;
        if (in.Text(e.path) && in.Count(e.size) && in.Text(e.hash) && in.Text(e.backup) &&
            in.Done()) {
            return e;
        }
    } else if (kind == "support") {
        SupportFilePlaced e;
        if (in.Text(e.path) && in.Count(e.size) && in.Text(e.hash) && in.Flag(e.existed) &&
            in.Text(e.backup) && in.Done()) {
            return e;
        }
    } else if (kind == "demandload") {
        DemandLoadWritten e;
        if (in.Text(e.productKey) && in.Text(e.appKey) && in.Text(e.loader) && in.Flag(e.existed) &&
            in.Flag(e.parentCreated)) {
            while (in.Left() >= 3) {
                RecordedValue value;
                if (!in.Value(value))
                    return std::nullopt;
                e.oldValues.push_back(value);
            }
            if (in.Done())
                return e;
        }
    } else if (kind == "trustedpaths") {
        TrustedPathsWritten e;
        bool hadValue = false;
        if (in.Text(e.user) && in.Text(e.variablesKey) && in.Text(e.folder) &&
            in.Flag(e.keyCreated) && in.Flag(hadValue)) {
            if (hadValue) {
                e.before.emplace();
                if (!in.Value(*e.before))
                    return std::nullopt;
            }
            if (in.Value(e.written) && in.Done())
                return e;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string EncodeRecordLine(const ICodePage& codePage, const RecordEntry& entry) {
    return std::visit(Encoder{codePage}, entry);
}

std::optional<RecordEntry> DecodeRecordLine(const ICodePage& codePage, const std::string& line) {
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
    const std::string kind = fields.front();
    fields.erase(fields.begin());
    LineReader reader(codePage, std::move(fields));
    return Decode(kind, reader);
}

RecordState ReadRecord(IFileSystem& files, const ICodePage& codePage, const std::string& path,
                       RecordContents& contents, std::string& problem) {
    contents = RecordContents{};
    problem.clear();
    std::string text;
    const OsResult read = files.ReadWholeFile(path, text);
    if (read == kErrFileNotFound || read == kErrPathNotFound)
        return RecordState::Missing;
    if (read != kOk) {
        problem = "it cannot be read (error " + std::to_string(read) + ")";
        return RecordState::Damaged;
    }
    std::size_t start = 0;
    std::size_t number = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        ++number;
        if (end == std::string::npos) {
            // Written before its change: that change had not begun.
            contents.lastLineCut = true;
            break;
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (number == 1) {
            const std::string format = std::string(kFormatLine) + '\t';
            if (!line.starts_with(format) || !IsRecordId(line.substr(format.size()))) {
                problem = "its first line is not \"" + format + "\" and an identifier";
                return RecordState::Foreign;
            }
            contents.id = line.substr(format.size());
            continue;
        }
        std::optional<RecordEntry> entry = DecodeRecordLine(codePage, line);
        if (!entry) {
            problem = "line " + std::to_string(number) + " is damaged";
            return RecordState::Damaged;
        }
        contents.entries.push_back(std::move(*entry));
    }
    if (contents.id.empty()) {
        problem = "it has no first line";
        return RecordState::Foreign;
    }
    return RecordState::Read;
}

RecordWriter::RecordWriter(IFileSystem& files, const ICodePage& codePage, std::string productDir,
                           std::string id)
    : files_(files),
      codePage_(codePage),
      productDir_(std::move(productDir)),
      id_(std::move(id)),
      path_(productDir_ + "\\" + kRecordFileName) {}

OsResult RecordWriter::Begin(bool fresh) {
    if (!fresh)
        return kOk;
    // Another's file of this name goes as a name (a link, not what it names).
    ClearReadOnly(files_, path_);
    if (const OsResult removed = files_.RemoveFile(path_);
        removed != kOk && removed != kErrFileNotFound) {
        return removed;
    }
    const OsResult result =
        files_.AppendToFile(path_, std::string(kFormatLine) + '\t' + id_ + "\n");
    created_ = result == kOk;
    return result;
}

OsResult RecordWriter::Add(const RecordEntry& entry) {
    const OsResult result = files_.AppendToFile(path_, EncodeRecordLine(codePage_, entry));
    if (result == kOk)
        added_.push_back(entry);
    return result;
}

std::string RecordWriter::NewBackupPath() {
    const std::string folder = productDir_ + "\\" + kBackupFolderName;
    std::uint32_t attributes = files_.GetAttributes(folder);
    // A link of that name, found in a folder the installation did not make,
    // would take the backups elsewhere: the link itself goes.
    if (attributes != kInvalidAttributes && (attributes & kAttrReparsePoint) != 0) {
        if ((attributes & kAttrDirectory) != 0 ? files_.RemoveEmptyFolder(folder) != kOk
                                               : files_.RemoveFile(folder) != kOk) {
            return {};
        }
        attributes = kInvalidAttributes;
    }
    if (attributes == kInvalidAttributes && files_.CreateFolder(folder) != kOk)
        return {};
    if (attributes != kInvalidAttributes && (attributes & kAttrDirectory) == 0)
        return {};
    // A number the folder does not hold yet: earlier runs' backups stay.
    for (;; ++nextBackup_) {
        std::string path = folder + "\\" + std::to_string(nextBackup_);
        if (files_.GetAttributes(path) == kInvalidAttributes) {
            ++nextBackup_;
            return path;
        }
    }
}

std::string WideTextBytes(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string WideTextOf(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

std::vector<RecordEntry> EntriesInForce(const std::vector<RecordEntry>& entries) {
    std::vector<RecordEntry> kept;
    std::size_t runStart = 0;  // where the latest run's entries begin in `kept`
    for (const RecordEntry& entry : entries) {
        if (std::holds_alternative<RunStarted>(entry)) {
            runStart = kept.size();
        } else if (std::holds_alternative<RunRolledBack>(entry)) {
            kept.resize(runStart);
            continue;
        }
        kept.push_back(entry);
    }
    return kept;
}

}  // namespace vk
