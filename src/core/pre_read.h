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

namespace qorvel {

template <class Value>
class PreRead {
public:
    PreRead() = default;
    // `read(const FieldReader&)` gives the value of one record or throws a StepError.
    template <class ReadFn>
    PreRead(const DataFile& file, ReadFn read) {
        values_.reserve(file.size());
        for (const Record& record : file.records()) {
            try {
                values_.push_back(read(FieldReader(file, record)));
            } catch (const StepError& error) {
                errors_.emplace(values_.size(), error);
                values_.push_back(Value{});
            }
        }
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
    std::vector<Value> values_;
    std::unordered_map<std::size_t, StepError> errors_;
};

}  // namespace qorvel
