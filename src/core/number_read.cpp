#include "core/number_read.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qorvel {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) ++pos;
    return pos;
}

// Decimal order of magnitude of an unsigned decimal text (position of its first non-zero
// digit relative to the point, plus its exponent); used to tell underflow from overflow.
long orderOfMagnitude(std::string_view digits) {
    long order = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    long integerDigits = 0;
    long leadingFractionZeros = 0;
    std::size_t pos = 0;
    for (; pos < digits.size(); ++pos) {
        const char c = digits[pos];
        if (c == '.') {
            seenPoint = true;
        } else if (isDigit(c)) {
            if (!seenPoint) {
                if (seenNonZero || c != '0') { seenNonZero = true; ++integerDigits; }
            } else if (!seenNonZero) {
                if (c == '0') ++leadingFractionZeros; else seenNonZero = true;
            }
        } else {
            break;
        }
    }
    order = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
    if (pos < digits.size()) {  // exponent
        const char* first = digits.data() + pos + 1;
        const bool negativeExponent = *first == '-';
        if (*first == '+') ++first;
        long exponent = 0;
        if (std::from_chars(first, digits.data() + digits.size(), exponent).ec != std::errc{})
            return negativeExponent ? -1 : 1;  // an exponent of twenty digits decides alone
        order += exponent;
    }
    return order;
}
}  // namespace

std::size_t MatchUnsignedDecimal(std::string_view text) {
    std::size_t pos = skipDigits(text, 0);
    bool haveDigits = pos > 0;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t afterPoint = skipDigits(text, pos + 1);
        if (afterPoint > pos + 1) haveDigits = true;
        if (haveDigits) pos = afterPoint;
    }
    if (!haveDigits) return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exp = pos + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
        const std::size_t end = skipDigits(text, exp);
        if (end > exp) pos = end;
    }
    return pos;
}

std::optional<double> ConvertUnsignedDecimal(std::string_view digits) {
    // from_chars does not take a leading "+" in the exponent's place either way, but it does
    // take "1e+5"; the mantissa never carries a sign here.
    double value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (orderOfMagnitude(digits) < 0) return 0.0;
        return std::nullopt;
    }
    if (ec != std::errc{} || ptr != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> ReadLenient(std::string_view text) {
    // Most fields carry no blanks: read them in place; otherwise read a copy without them.
    std::string compacted;
    if (text.find_first_of(" \t") != std::string_view::npos) {
        compacted.reserve(text.size());
        for (char c : text)
            if (c != ' ' && c != '\t') compacted += c;
        text = compacted;
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t length = MatchUnsignedDecimal(text);
    if (length == 0) return 0.0;
    const auto value = ConvertUnsignedDecimal(text.substr(0, length));
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

std::optional<double> ReadStrict(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t length = MatchUnsignedDecimal(text.substr(pos));
    if (length == 0) return std::nullopt;
    const std::string_view number = text.substr(pos, length);
    pos += length;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos != text.size()) return std::nullopt;
    const auto value = ConvertUnsignedDecimal(number);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

}  // namespace qorvel
