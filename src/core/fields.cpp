#include "core/fields.h"

#include <cstring>

#include "core/number_read.h"
#include "core/step_error.h"
#include "core/text_encoding.h"

namespace qorvel {

void Fields::Split(std::string_view text) {
    count_ = 0;
    overflow_.clear();
    std::size_t start = 0;
    for (;;) {
        const void* comma = std::memchr(text.data() + start, ',', text.size() - start);
        const std::size_t end =
            comma ? static_cast<std::size_t>(static_cast<const char*>(comma) - text.data()) : text.size();
        const std::string_view field = text.substr(start, end - start);
        if (count_ < inline_.size()) inline_[count_] = field; else overflow_.push_back(field);
        ++count_;
        if (!comma) break;
        start = end + 1;
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
