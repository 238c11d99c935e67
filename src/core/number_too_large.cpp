#include "core/number_too_large.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/fields.h"

namespace qorvel {

namespace {

const SourcedNumber& largestOf(std::span<const SourcedNumber> values) {
    const SourcedNumber* largest = &values.front();
    for (const SourcedNumber& number : values)
        if (std::fabs(number.value) > std::fabs(largest->value)) largest = &number;
    return *largest;
}

}  // namespace

std::string NumberTooLargeReason(std::span<const SourcedNumber> values, std::string_view what) {
    const SourcedNumber& largest = largestOf(values);
    std::string shown(largest.text);
    if (shown.empty()) {
        // The shortest text that reads back as the value.
        char buffer[32];
        shown.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, largest.value).ptr);
    }
    return std::string(what) + "数值过大：“" + DisplayText(shown) + "”，用它计算的结果超出了数值范围";
}

void FailNumberTooLarge(std::span<const SourcedNumber> values, std::string_view what) {
    if (values.empty()) throw StepError(std::string(what) + "数值过大，计算的结果超出了数值范围");
    const SourcedNumber& largest = largestOf(values);
    throw StepError(std::string(largest.file), largest.line, largest.field, NumberTooLargeReason(values, what));
}

}  // namespace qorvel
