#include "core/decimal_text.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(FormatGeneral, ShortestTextAtFifteenDigitsWithoutExponent) {
    EXPECT_EQ(FormatGeneral(100), "100");
    EXPECT_EQ(FormatGeneral(250.5), "250.5");
    EXPECT_EQ(FormatGeneral(0.125), "0.125");
    EXPECT_EQ(FormatGeneral(-47.125), "-47.125");
    EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(1234.56), "1234.56");
    EXPECT_EQ(FormatGeneral(1e20), "100000000000000000000");
    EXPECT_EQ(FormatGeneral(123456789012345678.0), "123456789012346000");
}

TEST(FormatFixed, RoundsHalvesAwayFromZeroOnTheFifteenDigitText) {
    EXPECT_EQ(FormatFixed(52.1245, 3), "52.125");  // the double lies just below ...245
    EXPECT_EQ(FormatFixed(100, 3), "100.000");
    EXPECT_EQ(FormatFixed(0.5, 3), "0.500");
    EXPECT_EQ(FormatFixed(-12.34, 3), "-12.340");
    EXPECT_EQ(FormatFixed(0.015, 2), "0.02");
    EXPECT_EQ(FormatFixed(-0.015, 2), "-0.02");
    EXPECT_EQ(FormatFixed(999.9995, 3), "1000.000");
    // Zero once written carries no minus sign.
    EXPECT_EQ(FormatFixed(-0.0004, 3), "0.000");
    EXPECT_EQ(FormatFixed(-0.0, 2), "0.00");
}

TEST(DecimalText, RoundsHalvesToEvenWhenAsked) {
    EXPECT_EQ(DecimalText::FromDouble(0.125).RoundToDecimals(2, Rounding::HalfToEven).General(), "0.12");
    EXPECT_EQ(DecimalText::FromDouble(0.135).RoundToDecimals(2, Rounding::HalfToEven).General(), "0.14");
    EXPECT_EQ(DecimalText::FromDouble(100.0005).RoundToDecimals(3, Rounding::HalfToEven).General(), "100");
    EXPECT_EQ(DecimalText::FromDouble(-2.5).RoundToDecimals(0, Rounding::HalfToEven).General(), "-2");
    EXPECT_EQ(DecimalText::FromDouble(9.5).RoundToDecimals(0, Rounding::HalfToEven).General(), "10");
    // A section line end: four decimals halves to even, then three halves away.
    DecimalText end = DecimalText::FromDouble(12.34449);
    end.RoundToDecimals(4, Rounding::HalfToEven).RoundToDecimals(3, Rounding::HalfAwayFromZero);
    EXPECT_EQ(end.General(), "12.345");
}

TEST(DecimalText, TwoRoundingsOfAHeightDifference) {
    // 52.355 - 52.3 is 0.0549999... in doubles: four decimals make it 0.055, two make 0.06.
    const auto twoDecimals = [](double value) {
        return DecimalText::FromDouble(value).RoundToDecimals(4, Rounding::HalfToEven).Fixed(2);
    };
    EXPECT_EQ(twoDecimals(52.355 - 52.3), "0.06");
    EXPECT_EQ(twoDecimals(0.005), "0.01");
    EXPECT_EQ(twoDecimals(0.00499999), "0.01");
    EXPECT_EQ(twoDecimals(0.0049), "0.00");
    EXPECT_EQ(twoDecimals(-0.004), "0.00");
    EXPECT_EQ(twoDecimals(-1.399999), "-1.40");
    EXPECT_EQ(twoDecimals(1234.5678), "1234.57");
}

TEST(DecimalText, SignificantDigits) {
    // A single handed on at seven digits: its exact value at fifteen, then halves to even.
    EXPECT_EQ(DecimalText::FromDouble(static_cast<double>(1234.5625f)).RoundToSignificant(7, Rounding::HalfToEven).General(),
              "1234.562");
    EXPECT_EQ(DecimalText::FromDouble(static_cast<double>(12.3456789f)).RoundToSignificant(7, Rounding::HalfToEven).General(),
              "12.34568");
    EXPECT_EQ(DecimalText::FromDouble(static_cast<double>(52.1f)).RoundToSignificant(7, Rounding::HalfToEven).General(),
              "52.1");
    EXPECT_EQ(DecimalText::FromDouble(123456789.0).RoundToSignificant(7, Rounding::HalfToEven).General(), "123456800");
    EXPECT_EQ(DecimalText::FromDouble(0.000123456789).RoundToSignificant(3, Rounding::HalfToEven).General(),
              "0.000123");
    EXPECT_DOUBLE_EQ(RoundToSignificantDigits(1.0 / 3.0, 15), 0.333333333333333);
}

TEST(DecimalText, StationMetresWithoutLeadingZero) {
    EXPECT_EQ(DecimalText::FromDouble(0.5).GeneralWithoutLeadingZero(), ".5");
    EXPECT_EQ(DecimalText::FromDouble(-0.4).GeneralWithoutLeadingZero(), "-.4");
    EXPECT_EQ(DecimalText::FromDouble(5.5).GeneralWithoutLeadingZero(), "5.5");
    EXPECT_EQ(DecimalText::FromDouble(0).GeneralWithoutLeadingZero(), "0");
}

}  // namespace
}  // namespace qorvel
