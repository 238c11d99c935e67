#include "core/decimal_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace qorvel {

NumberNotFinite::NumberNotFinite() : StepError("计算结果超出了数值范围（不是有限的数），无法写成数字") {}

DecimalText DecimalText::FromDouble(double value) { return FromDouble(value, 15); }

DecimalText DecimalText::FromDouble(double value, int significant) {
    if (!std::isfinite(value)) throw NumberNotFinite();
    if (significant < 1 || significant > 17) throw std::invalid_argument("DecimalText precision out of range");
    // d.ddddde±x: correctly rounded to `significant` digits.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      significant - 1);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    DecimalText decimal;
    decimal.negative_ = !text.empty() && text[0] == '-';
    if (decimal.negative_) text.remove_prefix(1);
    const std::size_t ePos = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, ePos))
        if (c != '.') mantissa += c;
    int exponent = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    // value = mantissa * 10^(exponent - (digits - 1))
    const int scale = exponent - static_cast<int>(mantissa.size() - 1);
    if (scale >= 0) {
        decimal.digits_ = mantissa + std::string(static_cast<std::size_t>(scale), '0');
        decimal.decimals_ = 0;
    } else {
        decimal.digits_ = mantissa;
        decimal.decimals_ = -scale;
    }
    decimal.normalise();
    return decimal;
}

void DecimalText::normalise() {
    // Enough digits to hold every decimal place, and no superfluous leading zeros.
    if (digits_.size() <= static_cast<std::size_t>(decimals_))
        digits_.insert(0, static_cast<std::size_t>(decimals_) + 1 - digits_.size(), '0');
    std::size_t integerDigits = digits_.size() - static_cast<std::size_t>(decimals_);
    std::size_t strip = 0;
    while (strip + 1 < integerDigits && digits_[strip] == '0') ++strip;
    digits_.erase(0, strip);
}

DecimalText& DecimalText::RoundToDecimals(int decimals, Rounding mode) {
    if (decimals < 0) throw std::invalid_argument("negative number of decimals");
    if (decimals_ <= decimals) return *this;
    const std::size_t drop = static_cast<std::size_t>(decimals_ - decimals);
    const std::size_t keep = digits_.size() - drop;
    const char first = digits_[keep];
    bool roundUp = false;
    if (first > '5') {
        roundUp = true;
    } else if (first == '5') {
        bool beyondHalf = false;
        for (std::size_t k = keep + 1; k < digits_.size(); ++k)
            if (digits_[k] != '0') { beyondHalf = true; break; }
        if (beyondHalf || mode == Rounding::HalfAwayFromZero) {
            roundUp = true;
        } else {
            const char last = keep > 0 ? digits_[keep - 1] : '0';
            roundUp = ((last - '0') % 2) == 1;
        }
    }
    digits_.resize(keep);
    if (digits_.empty()) digits_ = "0";
    decimals_ = decimals;
    if (roundUp) {
        std::size_t k = digits_.size();
        while (k > 0) {
            --k;
            if (digits_[k] == '9') {
                digits_[k] = '0';
            } else {
                ++digits_[k];
                break;
            }
            if (k == 0) digits_.insert(0, 1, '1');
        }
    }
    normalise();
    return *this;
}

DecimalText& DecimalText::RoundToSignificant(int significant, Rounding mode) {
    if (IsZero()) return *this;
    std::size_t firstNonZero = digits_.find_first_not_of('0');
    const long integerDigits = static_cast<long>(digits_.size()) - decimals_;
    // Position of the first significant digit relative to the point: integerDigits - firstNonZero.
    const long magnitude = integerDigits - static_cast<long>(firstNonZero);
    const long decimals = static_cast<long>(significant) - magnitude;
    if (decimals >= 0) return RoundToDecimals(static_cast<int>(decimals), mode);
    // Rounding left of the point: round as if scaled, then put the zeros back.
    const int shift = static_cast<int>(-decimals);
    DecimalText scaled = *this;
    scaled.decimals_ += shift;
    scaled.normalise();
    scaled.RoundToDecimals(0, mode);
    scaled.digits_ += std::string(static_cast<std::size_t>(shift), '0');
    scaled.normalise();
    *this = scaled;
    return *this;
}

bool DecimalText::IsZero() const { return digits_.find_first_not_of('0') == std::string::npos; }

std::string DecimalText::integerPart() const {
    return digits_.substr(0, digits_.size() - static_cast<std::size_t>(decimals_));
}

std::string DecimalText::fractionPart() const {
    return digits_.substr(digits_.size() - static_cast<std::size_t>(decimals_));
}

std::string DecimalText::Fixed(int decimals) const {
    DecimalText rounded = *this;
    rounded.RoundToDecimals(decimals, Rounding::HalfAwayFromZero);
    std::string fraction = rounded.fractionPart();
    fraction.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
    std::string text = (rounded.negative_ && !rounded.IsZero()) ? "-" : "";
    text += rounded.integerPart();
    if (decimals > 0) text += "." + fraction;
    return text;
}

std::string DecimalText::General() const {
    std::string fraction = fractionPart();
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string text = (negative_ && !IsZero()) ? "-" : "";
    text += integerPart();
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

std::string DecimalText::GeneralWithoutLeadingZero() const {
    std::string text = General();
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (text.size() > start + 1 && text[start] == '0' && text[start + 1] == '.') text.erase(start, 1);
    return text;
}

double DecimalText::ToDouble() const {
    std::string text = integerPart();
    if (decimals_ > 0) text += "." + fractionPart();
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return negative_ ? -value : value;
}

std::string FormatGeneral(double value) { return DecimalText::FromDouble(value).General(); }

std::string FormatFixed(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

double RoundToSignificantDigits(double value, int significant) {
    return DecimalText::FromDouble(value, significant).ToDouble();
}

}  // namespace qorvel

namespace qorvel {

namespace {
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactPowers = 22;  // 10^0 .. 10^22 are doubles exactly
constexpr std::uint64_t kUnitPowers[] = {1,         10,         100,         1000,         10000,
                                         100000,    1000000,    10000000,    100000000,    1000000000,
                                         10000000000, 100000000000};

// `magnitude` (not negative) times 10^scale, rounded to a whole number the way its 15-digit
// text rounds, when that is certain whatever the rounding mode; nothing otherwise.
//
// The product is one rounded operation on exact operands: off by at most half a unit in its
// last place, under 2e-5 for products below 1e11. The 15-digit text is off from the value by
// at most half a unit in its fifteenth digit, 5e-15 of it: under 5e-4 at the product's scale. A fraction
// farther than 1/64 from a half is therefore on the same side of it in the text, and the text
// holds no half there: every rounding mode gives the same nearest whole number.
std::optional<std::uint64_t> quickUnits(double magnitude, int scale) {
    if (scale < -kExactPowers || scale > kExactPowers) return std::nullopt;
    const double product = scale >= 0 ? magnitude * kPowersOfTen[scale] : magnitude / kPowersOfTen[-scale];
    if (!(product >= 0 && product < 1e11)) return std::nullopt;  // NaN and infinities too
    const auto whole = static_cast<std::uint64_t>(product);      // the floor, for these
    const double fraction = product - static_cast<double>(whole);  // exact
    if (std::fabs(fraction - 0.5) <= 1.0 / 64) return std::nullopt;
    return whole + (fraction > 0.5 ? 1 : 0);
}

// Writes units / 10^decimals with exactly `decimals` places; a minus only for a value that is
// not zero once written.
void appendUnits(std::string& out, bool negative, std::uint64_t units, int decimals) {
    const bool zero = units == 0;
    // Digits from the last: the decimals, the point, then at least one whole digit.
    char text[32];
    char* at = text + sizeof text;
    for (int k = 0; k < decimals; ++k) {
        *--at = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) *--at = '.';
    do {
        *--at = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (negative && !zero) *--at = '-';
    out.append(at, static_cast<std::size_t>(text + sizeof text - at));
}

constexpr int kMostQuickDecimals = 11;  // kUnitPowers' reach
}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
    if (decimals >= 0 && decimals <= kMostQuickDecimals) {
        if (const auto units = quickUnits(std::fabs(value), decimals)) {
            appendUnits(out, std::signbit(value), *units, decimals);
            return;
        }
    }
    out += DecimalText::FromDouble(value).Fixed(decimals);
}

void AppendRoundedFixed(std::string& out, double value, int first, Rounding firstMode, int decimals) {
    if (decimals >= 0 && first > decimals && first <= kMostQuickDecimals) {
        if (const auto units = quickUnits(std::fabs(value), first)) {
            // From `first` places to `decimals`, halves away from zero, on the whole number.
            const std::uint64_t divisor = kUnitPowers[first - decimals];
            const std::uint64_t rounded = *units / divisor + (*units % divisor >= divisor / 2 ? 1 : 0);
            appendUnits(out, std::signbit(value), rounded, decimals);
            return;
        }
    }
    out += DecimalText::FromDouble(value).RoundToDecimals(first, firstMode).Fixed(decimals);
}

double RoundTextToSignificant(double value, int significant, Rounding mode) {
    if (value != 0 && std::isfinite(value) && significant >= 1 && significant <= kMostQuickDecimals) {
        const double magnitude = std::fabs(value);
        // The power of ten of the first digit, from the binary exponent (times log10 2, about
        // 78913 / 2^18), checked on the product, which must hold `significant` digits before
        // its point. A value within rounding of a power of ten rounds to that power with either
        // choice.
        const int binaryExponent = static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52 & 0x7FF) - 1023;
        int exponent = (binaryExponent * 78913) >> 18;
        for (int attempt = 0; attempt < 4; ++attempt) {
            const int scale = significant - 1 - exponent;
            if (scale < -kExactPowers || scale > kExactPowers) break;
            const double product = scale >= 0 ? magnitude * kPowersOfTen[scale] : magnitude / kPowersOfTen[-scale];
            if (product < kPowersOfTen[significant - 1]) {
                --exponent;
                continue;
            }
            if (product >= kPowersOfTen[significant]) {
                ++exponent;
                continue;
            }
            const auto units = quickUnits(magnitude, scale);
            if (!units) break;
            // units / 10^scale: one rounded operation on exact operands gives the double
            // nearest to the rounded decimal, as reading its text does.
            const double rounded = scale >= 0 ? static_cast<double>(*units) / kPowersOfTen[scale]
                                              : static_cast<double>(*units) * kPowersOfTen[-scale];
            return value < 0 ? -rounded : rounded;
        }
    }
    return DecimalText::FromDouble(value).RoundToSignificant(significant, mode).ToDouble();
}

}  // namespace qorvel
