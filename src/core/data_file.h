#pragma once
// A data file held whole in memory: its bytes, read once, and its records as views into them.
// Lines end at LF (one CR right before it is dropped); a last line without LF is a record;
// lines that are empty or hold only spaces are not records, but every record keeps its
// physical line number, so messages point at the line a surveyor sees in the editor. A UTF-8
// byte order mark at the start of the file is not part of the first record.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/lenient_read_log.h"

namespace qorvel {

struct Record {
    std::size_t line;        // physical line number, counted from 1
    std::string_view text;   // without the line end
};

class DataFile {
public:
    // Reads the file at `path` (a file or a pipe); a missing or unreadable path, a folder or a
    // device fails with a StepError.
    static DataFile Load(const std::string& path);
    // Takes bytes already in memory; `name` is what messages call the file.
    static DataFile FromBytes(std::string name, std::string bytes);

    const std::string& name() const { return name_; }
    // The file's bytes as read, blank lines and all (a section file's empty side is an empty line).
    std::string_view bytes() const { return *bytes_; }
    std::span<const Record> records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const Record& operator[](std::size_t index) const { return records_[index]; }

    // The fields read leniently from this file whose text is not a plain number (every
    // FieldReader::Lenient notes them), for a warning after a step.
    const LenientReadLog& lenientReads() const { return *lenientReads_; }
    // Starts the log again, from nothing or from what another reading of this file noted: a
    // file read once and used by several steps warns each step of what that step read.
    void RestartLenientReads(std::unique_ptr<LenientReadLog> from = nullptr);

private:
    std::string name_;
    std::unique_ptr<const std::string> bytes_;  // records point into it; it never moves
    std::vector<Record> records_;
    std::unique_ptr<LenientReadLog> lenientReads_ = std::make_unique<LenientReadLog>();
};

// Splits `bytes` into records as DataFile does; the views point into `bytes`.
std::vector<Record> SplitRecords(std::string_view bytes);

// Reads a whole file (or what a pipe brings) as bytes; fails with a StepError naming `path`
// and what went wrong, also for a folder or a device.
std::string ReadWholeFile(const std::string& path);

}  // namespace qorvel
