#pragma once
// Values read from every record of a file before the loops that compare records. A record that
// cannot be read raises its error when a loop reaches that record and not before: a file is
// only at fault for the fields a step actually uses.
//
// Memory and time stay bounded on a file of bad records: reading stops at the first record
// that cannot be read (in each half, when two threads read), and no error is kept. A loop that
// reaches an unread or unreadable record reads it again then, which raises the record's own
// error (the same message as a first reading would have given) or gives its value.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/data_file.h"
#include "core/fields.h"
#include "core/step_error.h"
#include "core/two_halves.h"

namespace qorvel {

// Whether a PreRead may read the records of a large file on two threads at once: only for a
// `read` that looks at nothing but the record it is given.
enum class ReadThreads { One, Two };

template <class Value>
class PreRead {
public:
    PreRead() = default;
    // `read(const FieldReader&)` gives the value of one record or throws a StepError; it is
    // kept (copied) to read records again, and `file` must outlive the PreRead.
    template <class ReadFn>
    PreRead(const DataFile& file, ReadFn read, ReadThreads threads = ReadThreads::One) : file_(&file), read_(read) {
        // Files of a million survey points read in half the time on two cores; small files are
        // not worth a thread.
        constexpr std::size_t kWorthASecondThread = 50000;
        const std::size_t count = file.size();
        values_.resize(count);
        half_ = count / 2;
        const auto readPart = [&](std::size_t begin, std::size_t end, int part) {
            std::size_t index = begin;
            for (; index < end; ++index) {
                try {
                    values_[index] = read_(FieldReader(file, file[index]));
                } catch (const StepError&) {
                    break;
                }
            }
            readEnd_[part] = index;
        };
        if (threads == ReadThreads::Two) InTwoHalves(count, kWorthASecondThread, readPart);
        else InTwoHalves(count, SIZE_MAX, readPart);
    }

    std::size_t size() const { return values_.size(); }
    // The value, or the record's error raised.
    Value At(std::size_t index) const {
        if (index < readEnd_[0] || (index >= half_ && index < readEnd_[1])) return values_[index];
        return read_(FieldReader(*file_, (*file_)[index]));
    }
    // The first unreadable record, if any.
    std::optional<std::size_t> FirstUnreadable() const {
        if (readEnd_[0] < half_) return readEnd_[0];
        if (readEnd_[1] < values_.size()) return readEnd_[1];
        return std::nullopt;
    }

private:
    const DataFile* file_ = nullptr;
    std::function<Value(const FieldReader&)> read_;
    std::vector<Value> values_;
    // Records [0, half_) are read as part 0, [half_, size) as part 1; each part up to its first
    // unreadable record, readEnd_ (its end when every record could be read).
    std::size_t half_ = 0;
    std::size_t readEnd_[2] = {0, 0};
};

}  // namespace qorvel
