#pragma once
// Fields of a record: slices of the line split on ",", counted from 0. Reading a field that a
// line does not have, or a number that is not one, fails the step with the file, the line and
// the field named.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file.h"

namespace qorvel {

class Fields {
public:
    Fields() = default;
    explicit Fields(std::string_view text) { Split(text); }
    void Split(std::string_view text);

    std::size_t size() const { return count_; }
    std::string_view operator[](std::size_t index) const {
        return index < inline_.size() ? inline_[index] : overflow_[index - inline_.size()];
    }

private:
    // Most records have five or six fields: keep them without a heap allocation.
    std::array<std::string_view, 8> inline_{};
    std::vector<std::string_view> overflow_;
    std::size_t count_ = 0;
};

class FieldReader {
public:
    FieldReader(const DataFile& file, const Record& record);

    std::size_t count() const { return fields_.size(); }
    bool Has(int field) const { return field >= 0 && static_cast<std::size_t>(field) < fields_.size(); }
    const Record& record() const { return *record_; }
    const DataFile& file() const { return *file_; }

    std::string_view Text(int field) const;
    // The leading number, 0 when there is none; a text that is not a plain number is noted in
    // the file's lenientReads().
    double Lenient(int field) const;
    double Strict(int field) const;   // the whole field must be a number

    [[noreturn]] void Fail(int field, const std::string& reason) const;

private:
    const DataFile* file_;
    const Record* record_;
    Fields fields_;
};

// Field 0 of a record's text (every record has one): the text up to the first ",".
inline std::string_view FirstField(std::string_view text) { return text.substr(0, text.find(',')); }

// Text for messages: UTF-8 as it is, GBK bytes turned into UTF-8, anything else as \xNN;
// control characters other than tab as \xNN too, so a message is safe to print; long texts
// are shortened (before they are converted) so a message stays readable.
std::string DisplayText(std::string_view bytes);

}  // namespace qorvel
