#include "core/number_read.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
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

namespace {
// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Survey numbers are short decimals (439123.457): their digits make an integer that a double
// holds exactly, and their decimals a power of ten that it holds exactly, so one division,
// rounded once, gives the double nearest to the text, as the general conversion does. Reads the
// leading digits[.digits] of `text`; nothing when they are not of that kind or an exponent
// follows (the general reading decides those). `length` is set to the length read.
std::optional<double> readShortDecimal(std::string_view text, std::size_t& length) {
    constexpr std::uint64_t kExactIntegers = std::uint64_t{1} << 53;
    std::uint64_t mantissa = 0;  // wraps on more than 19 digits, which are refused below
    std::size_t digits = 0;
    std::size_t decimals = 0;
    std::size_t pos = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits)
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[pos] - '0');
    if (pos < text.size() && text[pos] == '.') {
        for (++pos; pos < text.size() && isDigit(text[pos]); ++pos, ++digits, ++decimals)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[pos] - '0');
    }
    if (digits == 0 || digits > 19 || mantissa > kExactIntegers || decimals >= std::size(kExactPowersOfTen))
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) return std::nullopt;
    length = pos;
    return static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
}
}  // namespace

std::optional<double> ConvertUnsignedDecimal(std::string_view digits) {
    std::size_t length = 0;
    if (const auto value = readShortDecimal(digits, length)) return value;
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
    bool plain = false;
    return ReadLenient(text, plain);
}

std::optional<double> ReadLenient(std::string_view text, bool& plain) {
    // Most fields carry no blanks: read them in place; otherwise read a copy without them.
    std::string compacted;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const std::string_view written = text;
    plain = false;
    if (std::any_of(text.begin(), text.end(), isBlank)) {
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
    std::size_t shortLength = 0;
    if (const auto value = readShortDecimal(text, shortLength)) {
        // The usual survey number, read whole: plain unless blanks were dropped from it.
        plain = shortLength == text.size() && (compacted.empty() ? true : IsPlainNumber(written));
        return negative ? -*value : *value;
    }
    plain = IsPlainNumber(written);
    const std::size_t length = MatchUnsignedDecimal(text);
    if (length == 0) return 0.0;
    const auto value = ConvertUnsignedDecimal(text.substr(0, length));
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

namespace {
// The parts of a text of the strict form: the sign and the unsigned number between optional
// spaces. Nothing when the text has another form.
struct StrictParts {
    bool negative = false;
    std::string_view number;
};

std::optional<StrictParts> strictParts(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    StrictParts parts;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        parts.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t length = MatchUnsignedDecimal(text.substr(pos));
    if (length == 0) return std::nullopt;
    parts.number = text.substr(pos, length);
    pos += length;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos != text.size()) return std::nullopt;
    return parts;
}
}  // namespace

bool IsPlainNumber(std::string_view text) { return strictParts(text).has_value(); }

std::optional<double> ReadStrict(std::string_view text) {
    const auto parts = strictParts(text);
    if (!parts) return std::nullopt;
    const auto value = ConvertUnsignedDecimal(parts->number);
    if (!value) return std::nullopt;
    return parts->negative ? -*value : *value;
}

}  // namespace qorvel
