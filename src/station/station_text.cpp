#include "station/station_text.h"

#include <cmath>

#include "core/decimal_text.h"
#include "core/number_read.h"

namespace qorvel {

namespace {
bool isGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool isGbkTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

std::size_t skipSpaces(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

// One part of a station text: spaces, a number with one sign before or after it (spaces
// allowed beside the sign), spaces.
std::optional<double> readStationPart(std::string_view text) {
    std::size_t pos = skipSpaces(text, 0);
    int sign = 0;  // 0: none yet
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        sign = text[pos] == '-' ? -1 : 1;
        pos = skipSpaces(text, pos + 1);
    }
    const std::size_t length = MatchUnsignedDecimal(text.substr(pos));
    if (length == 0) return std::nullopt;
    const auto number = ConvertUnsignedDecimal(text.substr(pos, length));
    if (!number) return std::nullopt;
    pos = skipSpaces(text, pos + length);
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (sign != 0) return std::nullopt;  // a sign on both sides
        sign = text[pos] == '-' ? -1 : 1;
        pos = skipSpaces(text, pos + 1);
    }
    if (pos != text.size()) return std::nullopt;
    return sign < 0 ? -*number : *number;
}
}  // namespace

std::optional<double> ChainageFromStationText(std::string_view stationText) {
    const std::size_t plus = stationText.find('+');
    if (plus == std::string_view::npos) return std::nullopt;
    std::size_t firstCharacter = 1;
    if (stationText.size() >= 2 && isGbkLeadByte(static_cast<unsigned char>(stationText[0])) &&
        isGbkTrailByte(static_cast<unsigned char>(stationText[1])))
        firstCharacter = 2;
    if (plus + 1 < firstCharacter) return std::nullopt;  // the "+" is the prefix itself: nothing before it
    // The kilometre part keeps its closing "+", which reads as a sign after the number.
    const std::string_view kilometres = stationText.substr(firstCharacter, plus + 1 - firstCharacter);
    const std::string_view metres = stationText.substr(plus + 1);
    const auto km = readStationPart(kilometres);
    const auto m = readStationPart(metres);
    if (!km || !m) return std::nullopt;
    const double chainage = *km * 1000 + *m;
    if (!std::isfinite(chainage)) return std::nullopt;
    return RoundToSignificantDigits(chainage, 15);
}

std::string FormatStationText(double chainage) {
    double kilometres = std::trunc(chainage / 1000);
    DecimalText metres = DecimalText::FromDouble(chainage - 1000 * kilometres);
    metres.RoundToDecimals(3, Rounding::HalfToEven);
    // Metres that round to a whole kilometre belong to the next one.
    double metreValue = metres.ToDouble();
    if (metreValue >= 1000 || metreValue <= -1000) {
        const double carry = metreValue >= 1000 ? 1 : -1;
        kilometres += carry;
        metres = DecimalText::FromDouble(metreValue - 1000 * carry);
        metres.RoundToDecimals(3, Rounding::HalfToEven);
        metreValue = metres.ToDouble();
    }
    std::string filler;
    if (metres.IsZero()) filler = "00";
    else if (!(metreValue >= 100)) filler = "0";
    return "K" + FormatGeneral(kilometres) + "+" + filler + metres.GeneralWithoutLeadingZero();
}

std::optional<std::string> FormatStationText(std::string_view chainageText) {
    const auto chainage = ReadStrict(chainageText);
    if (!chainage) return std::nullopt;
    return FormatStationText(*chainage);
}

}  // namespace qorvel
