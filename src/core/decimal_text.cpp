#include "core/decimal_text.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace qorvel {

DecimalText DecimalText::FromDouble(double value) { return FromDouble(value, 15); }

DecimalText DecimalText::FromDouble(double value, int significant) {
    if (!std::isfinite(value)) throw std::invalid_argument("DecimalText of a value that is not finite");
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

std::string FormatFixed(double value, int decimals) { return DecimalText::FromDouble(value).Fixed(decimals); }

double RoundToSignificantDigits(double value, int significant) {
    return DecimalText::FromDouble(value, significant).ToDouble();
}

}  // namespace qorvel
