#pragma once
// Numbers read from the files are finite; what is computed from them need not be. Two eastings
// of 1e200 lie farther apart than a double can hold, and an infinite distance, or a direction or
// a product that is not a number, would put a point on a side, pass or raise a check, or reach a
// written number by accident. Where a computation of a step overflows, the step fails instead,
// naming the value that made it overflow ("坐标数值过大"), so that the surveyor finds the mistyped
// coordinate; the number writers (core/decimal_text.h) refuse what is still not finite.

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "core/step_error.h"

namespace qorvel {

// A number of a step's input with the place it was read from.
struct SourcedNumber {
    std::string_view file;  // as messages name it
    std::size_t line = StepError::kNoLine;
    int field = StepError::kNoField;
    double value = 0;
    std::string_view text;  // as the file writes it; empty: the value is shown instead
};

// Fails the step naming the value of largest magnitude among `values` (the first of equal ones),
// the one that carried the computation beyond the range of a double: "<what>数值过大：“1e200”，用它
// 计算的结果超出了数值范围". `what` is what the values are: "坐标", "桩号".
[[noreturn]] void FailNumberTooLarge(std::span<const SourcedNumber> values, std::string_view what);
// The reason alone, for the one of largest magnitude among `values` (not empty), for a failure
// that names its place otherwise.
std::string NumberTooLargeReason(std::span<const SourcedNumber> values, std::string_view what);
inline std::string NumberTooLargeReason(std::initializer_list<SourcedNumber> values, std::string_view what) {
    return NumberTooLargeReason(std::span(values.begin(), values.size()), what);
}
[[noreturn]] inline void FailNumberTooLarge(std::initializer_list<SourcedNumber> values, std::string_view what) {
    FailNumberTooLarge(std::span(values.begin(), values.size()), what);
}

}  // namespace qorvel
