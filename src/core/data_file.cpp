#include "core/data_file.h"

#include <algorithm>
#include <cstring>

#include "core/file_problem_text.h"
#include "core/step_error.h"
#include "platform/file_system.h"

namespace qorvel {

namespace {
bool isBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }
}  // namespace

std::vector<Record> SplitRecords(std::string_view bytes) {
    std::vector<Record> records;
    // One quick count of the line ends spares the vector its regrowths on a million lines.
    records.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    // A byte order mark (some editors save one) marks the file as UTF-8; it is no part of the
    // first record's text.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t start = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    std::size_t line = 1;
    while (start < bytes.size()) {
        const void* found = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data())
                                      : bytes.size();
        std::string_view text = bytes.substr(start, end - start);
        if (found && !text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (!isBlank(text)) records.push_back(Record{line, text});
        start = end + 1;
        ++line;
    }
    return records;
}

std::string ReadWholeFile(const std::string& path) {
    try {
        return platform::ReadWholeFile(platform::PathFromUtf8(path));
    } catch (const platform::FileError& error) {
        throw StepError(path, StepError::kNoLine, StepError::kNoField, ReadProblemText(error));
    }
}

void DataFile::RestartLenientReads(std::unique_ptr<LenientReadLog> from) {
    lenientReads_ = from ? std::move(from)
                         : std::make_unique<LenientReadLog>(records_.empty() ? 0 : records_.back().line);
}

DataFile DataFile::Load(const std::string& path) { return FromBytes(path, ReadWholeFile(path)); }

DataFile DataFile::FromBytes(std::string name, std::string bytes) {
    DataFile file;
    file.name_ = std::move(name);
    file.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    file.records_ = SplitRecords(*file.bytes_);
    file.lenientReads_ = std::make_unique<LenientReadLog>(file.records_.empty() ? 0 : file.records_.back().line);
    return file;
}

}  // namespace qorvel
