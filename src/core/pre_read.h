#pragma once
// Values read from every record of a file before the loops that compare records. A record that
// cannot be read keeps its error, which is raised when a loop reaches that record and not
// before: a file is only at fault for the fields a step actually uses.

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <utility>
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
    // `read(const FieldReader&)` gives the value of one record or throws a StepError.
    template <class ReadFn>
    PreRead(const DataFile& file, ReadFn read, ReadThreads threads = ReadThreads::One) {
        // Files of a million survey points read in half the time on two cores; small files are
        // not worth a thread.
        constexpr std::size_t kWorthASecondThread = 50000;
        const std::size_t count = file.size();
        values_.resize(count);
        std::vector<std::pair<std::size_t, StepError>> errors[2];
        const auto readPart = [&](std::size_t begin, std::size_t end, int part) {
            readRange(file, read, begin, end, errors[part]);
        };
        if (threads == ReadThreads::Two) InTwoHalves(count, kWorthASecondThread, readPart);
        else readPart(0, count, 0);
        for (auto& part : errors)
            for (auto& [index, error] : part) errors_.emplace(index, std::move(error));
    }

    std::size_t size() const { return values_.size(); }
    bool Readable(std::size_t index) const { return errors_.empty() || !errors_.contains(index); }
    // The value, or the record's error raised.
    const Value& At(std::size_t index) const {
        if (!errors_.empty()) {
            const auto found = errors_.find(index);
            if (found != errors_.end()) throw found->second;
        }
        return values_[index];
    }
    // The first unreadable record, if any.
    std::optional<std::size_t> FirstUnreadable() const {
        std::optional<std::size_t> first;
        for (const auto& [index, error] : errors_)
            if (!first || index < *first) first = index;
        return first;
    }

private:
    template <class ReadFn>
    void readRange(const DataFile& file, ReadFn& read, std::size_t begin, std::size_t end,
                   std::vector<std::pair<std::size_t, StepError>>& errors) {
        for (std::size_t index = begin; index < end; ++index) {
            try {
                values_[index] = read(FieldReader(file, file[index]));
            } catch (const StepError& error) {
                errors.emplace_back(index, error);
            }
        }
    }

    std::vector<Value> values_;
    std::unordered_map<std::size_t, StepError> errors_;
};

}  // namespace qorvel
