#pragma once
// What the module hands the page: JSON text, written here rather than as JavaScript objects one
// property at a time, so that a list of 25,000 sections crosses into the page as one string.
// Strings are UTF-8; control characters are escaped; a number that is not finite is null.

#include <string>
#include <string_view>

namespace qorvel::web {

class JsonText {
public:
    JsonText& BeginObject();
    JsonText& EndObject();
    JsonText& BeginArray();
    JsonText& EndArray();
    // The name of the next value in an object.
    JsonText& Key(std::string_view name);
    JsonText& String(std::string_view value);
    JsonText& Number(double value);
    JsonText& Integer(long long value);
    JsonText& Bool(bool value);
    JsonText& Null();

    const std::string& text() const { return text_; }

private:
    void BeforeValue();
    std::string text_;
    bool first_ = true;  // no value yet in the open object or array
    bool afterKey_ = false;
};

}  // namespace qorvel::web
