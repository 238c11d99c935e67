#include "results/section_record.h"

#include "core/fields.h"
#include "core/number_read.h"

namespace qorvel {

void SourcedField::Fail(const std::string& reason) const {
    throw StepError(std::string(file), line, field, reason);
}

double SourcedField::Lenient() const {
    const auto value = ReadLenient(text);
    if (!value) Fail("数值超出范围：“" + DisplayText(text) + "”");
    if (lenientReads && !IsPlainNumber(text)) lenientReads->Note(line, field, text);
    return *value;
}

double SourcedField::Strict() const {
    const auto value = ReadStrict(text);
    if (!value) Fail("不是数字：“" + DisplayText(text) + "”");
    return *value;
}

}  // namespace qorvel
