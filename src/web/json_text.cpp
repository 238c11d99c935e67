#include "web/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qorvel::web {

void JsonText::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) text_ += ',';
    first_ = false;
}

JsonText& JsonText::BeginObject() {
    BeforeValue();
    text_ += '{';
    first_ = true;
    return *this;
}

JsonText& JsonText::EndObject() {
    text_ += '}';
    first_ = false;
    return *this;
}

JsonText& JsonText::BeginArray() {
    BeforeValue();
    text_ += '[';
    first_ = true;
    return *this;
}

JsonText& JsonText::EndArray() {
    text_ += ']';
    first_ = false;
    return *this;
}

JsonText& JsonText::Key(std::string_view name) {
    String(name);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

JsonText& JsonText::String(std::string_view value) {
    BeforeValue();
    text_ += '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            text_ += escaped;
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

JsonText& JsonText::Number(double value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    text_.append(buffer, end);
    return *this;
}

JsonText& JsonText::Integer(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonText& JsonText::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonText& JsonText::Null() {
    BeforeValue();
    text_ += "null";
    return *this;
}

}  // namespace qorvel::web
