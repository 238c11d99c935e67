#include "core/fields.h"

#include "core/number_read.h"
#include "core/step_error.h"
#include "core/text_encoding.h"

namespace qorvel {

void Fields::Split(std::string_view text) {
    count_ = 0;
    overflow_.clear();
    // Fields are short: a plain scan beats a library search per field.
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    for (std::size_t at = 0;; ++at) {
        if (at < size && data[at] != ',') continue;
        const std::string_view field(data + start, at - start);
        if (count_ < inline_.size()) inline_[count_] = field; else overflow_.push_back(field);
        ++count_;
        if (at == size) break;
        start = at + 1;
    }
}

FieldReader::FieldReader(const DataFile& file, const Record& record)
    : file_(&file), record_(&record), fields_(record.text) {}

void FieldReader::Fail(int field, const std::string& reason) const {
    throw StepError(file_->name(), record_->line, field, reason);
}

std::string_view FieldReader::Text(int field) const {
    if (!Has(field))
        Fail(field, "缺少该字段（这一行只有 " + std::to_string(fields_.size()) + " 个字段）");
    return fields_[static_cast<std::size_t>(field)];
}

double FieldReader::Lenient(int field) const {
    const std::string_view text = Text(field);
    const auto value = ReadLenient(text);
    if (!value) Fail(field, "数值超出范围：“" + DisplayText(text) + "”");
    if (!IsPlainNumber(text)) file_->lenientReads().Note(record_->line, field, text);
    return *value;
}

double FieldReader::Strict(int field) const {
    const std::string_view text = Text(field);
    const auto value = ReadStrict(text);
    if (!value) Fail(field, "不是数字：“" + DisplayText(text) + "”");
    return *value;
}

std::string DisplayText(std::string_view bytes) {
    constexpr std::size_t kLongest = 60;
    std::string text = IsValidUtf8(bytes) ? std::string(bytes) : GbkToUtf8Lossy(bytes);
    // Shorten at a character boundary.
    if (text.size() > kLongest) {
        std::size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
        text += "…";
    }
    return text;
}

}  // namespace qorvel
