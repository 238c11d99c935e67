#include "core/fields.h"

#include <algorithm>
#include <cstdio>

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
    bool plain = false;
    const auto value = ReadLenient(text, plain);
    if (!value) Fail(field, "数值超出范围：“" + DisplayText(text) + "”");
    if (!plain) file_->lenientReads().Note(record_->line, field, text);
    return *value;
}

double FieldReader::Strict(int field) const {
    const std::string_view text = Text(field);
    const auto value = ReadStrict(text);
    if (!value) Fail(field, "不是数字：“" + DisplayText(text) + "”");
    return *value;
}

namespace {
// How much of a field a message converts: more than enough bytes for kLongest bytes of text in
// any form (a UTF-8 or GBK character, or \xNN for a byte that is neither), however long the
// field. Converting a 100 MB field whole only to show its start took seconds and gigabytes.
constexpr std::size_t kLongest = 60;
constexpr std::size_t kConverted = 4 * kLongest;

// Control characters other than tab (C0 and DEL) as \xNN: an escape sequence in a field must
// not reach the terminal a message is printed on, and a NUL must not cut the message short.
std::string escapeControls(std::string text) {
    const auto isControl = [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == '\x7F'; };
    if (std::none_of(text.begin(), text.end(), isControl)) return text;
    std::string escaped;
    for (const char c : text) {
        if (!isControl(c)) {
            escaped += c;
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
        escaped += code;
    }
    return escaped;
}
}  // namespace

std::string DisplayText(std::string_view bytes) {
    std::string_view shown = bytes.substr(0, kConverted);
    // A UTF-8 character cut by the limit does not make the text look like another code page.
    std::string_view whole = shown;
    if (shown.size() < bytes.size()) {
        std::size_t back = 0;
        while (back < 3 && back < whole.size() && (static_cast<unsigned char>(whole[whole.size() - 1 - back]) & 0xC0) == 0x80)
            ++back;
        if (back < whole.size() && (static_cast<unsigned char>(whole[whole.size() - 1 - back]) & 0xC0) == 0xC0)
            whole.remove_suffix(back + 1);
    }
    std::string text = escapeControls(IsValidUtf8(whole) ? std::string(whole) : GbkToUtf8Lossy(shown));
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
