#include "engine/journal/record.h"

#include "core/digest.h"
#include "engine/file_ops.h"
#include "engine/journal/anchor.h"
#include "engine/journal/record_line.h"

namespace vk {
namespace {

// The first line: the format and, after a tab, the record's identifier.
constexpr const char* kFormatLine = "Varnok setup record 3";

// The decoder of the kind `kind` among the entry types, tried in turn.
template <std::size_t Index = 0>
std::optional<RecordEntry> DecodeKind(const std::string& kind, LineReader& in) {
    if constexpr (Index == std::variant_size_v<RecordEntry>) {
        return std::nullopt;
    } else {
        using Entry = std::variant_alternative_t<Index, RecordEntry>;
        if (kind == Entry::kKind) {
            std::optional<Entry> entry = Entry::Decode(in);
            return entry ? std::optional<RecordEntry>(std::move(*entry)) : std::nullopt;
        }
        return DecodeKind<Index + 1>(kind, in);
    }
}

std::string HashOf(std::string_view bytes) {
    Xxh64Stream stream;
    stream.Update(bytes);
    return NumberHex(stream.Digest(), 16);
}

}  // namespace

std::string EncodeRecordLine(const ICodePage& codePage, const RecordEntry& entry) {
    return std::visit(
        [&](const auto& e) {
            LineWriter line(codePage, e.kKind);
            e.Encode(line);
            return line.Finish();
        },
        entry);
}

std::optional<RecordEntry> DecodeRecordLine(const ICodePage& codePage, const std::string& line) {
    std::optional<RecordFields> split = SplitRecordLine(line);
    if (!split)
        return std::nullopt;
    LineReader reader(codePage, std::move(split->fields));
    return DecodeKind(split->kind, reader);
}

RecordState ReadRecord(IFileSystem& files, const ICodePage& codePage, const std::string& path,
                       RecordContents& contents, std::string& problem,
                       const std::optional<RecordSeal>& sealed) {
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
    std::size_t sealedEnd = sealed && sealed->lines == 0 ? 0 : std::string::npos;
    RecordState state = RecordState::Read;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            // Being written when the run was cut short: its change had not begun.
            contents.lastLineCut = true;
            break;
        }
        ++number;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (sealed && number == sealed->lines)
            sealedEnd = start;
        if (number == 1) {
            const std::string format = std::string(kFormatLine) + '\t';
            if (!line.starts_with(format) || !IsRecordId(line.substr(format.size()))) {
                problem = "its first line is not \"" + format + "\" and an identifier";
                return RecordState::Foreign;
            }
            contents.id = line.substr(format.size());
            continue;
        }
        if (state != RecordState::Read)
            continue;  // the identifier is known; the rest is damaged anyway
        std::optional<RecordEntry> entry = DecodeRecordLine(codePage, line);
        if (!entry) {
            problem = "line " + std::to_string(number) + " is damaged";
            state = RecordState::Damaged;
            continue;
        }
        contents.entries.push_back(std::move(*entry));
    }
    if (contents.id.empty()) {
        problem = "it has no first line";
        return RecordState::Foreign;
    }
    contents.seal = {number, HashOf(std::string_view(text).substr(0, start))};
    if (state == RecordState::Read && sealed &&
        (sealedEnd == std::string::npos ||
         HashOf(std::string_view(text).substr(0, sealedEnd)) != sealed->hash)) {
        problem = "it is not as the installation left it (" + std::to_string(sealed->lines) +
                  " lines were kept, " + std::to_string(number) + " are there)";
        state = RecordState::Damaged;
    }
    return state;
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

void RecordWriter::Stage(const RecordEntry& entry) {
    staged_ += EncodeRecordLine(codePage_, entry);
    added_.push_back(entry);
}

OsResult RecordWriter::Flush() {
    if (staged_.empty())
        return kOk;
    const OsResult result = files_.AppendToFile(path_, staged_);
    if (result == kOk)
        staged_.clear();  // kept for another try otherwise
    return result;
}

OsResult RecordWriter::Add(const RecordEntry& entry) {
    const std::size_t before = added_.size();
    const std::size_t stagedBefore = staged_.size();
    Stage(entry);
    const OsResult result = Flush();
    if (result != kOk) {
        // Not on the disk: its change must not be made, nor its line written later.
        added_.resize(before);
        staged_.resize(stagedBefore);
    }
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

OsResult RecordWriter::Seal(RecordSeal& seal) const {
    RecordContents contents;
    std::string problem;
    if (ReadRecord(files_, codePage_, path_, contents, problem) != RecordState::Read)
        return problem.empty() ? kErrFileNotFound : kErrInvalidParameter;
    seal = contents.seal;
    return kOk;
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

bool LastRunInterrupted(const std::vector<RecordEntry>& entries) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (std::holds_alternative<RunFinished>(*entry))
            return false;
        if (std::holds_alternative<RunStarted>(*entry))
            return true;
    }
    // No run in force: one that ended before it could say it began.
    return true;
}

}  // namespace vk
