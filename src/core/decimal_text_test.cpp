#include "core/decimal_text.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

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

// Values of every kind the files hold, and the ones the quick paths must hand to DecimalText:
// exact halves at the rounded place and the doubles a few units in the last place either side,
// values whose text rounds up to the next power of ten, tiny and huge ones, minus zero.
std::vector<double> awkwardValues(int decimals, std::size_t count) {
    std::mt19937_64 engine(static_cast<std::uint64_t>(decimals) * 7919 + 1);
    const auto uniform = [&](double low, double high) {
        return low + (high - low) * (static_cast<double>(engine() >> 11) * 0x1p-53);
    };
    std::vector<double> values{0.0, -0.0, 0.5, -0.5, 0.015, 52.1245, 999.9995, 0.0549999999999997, 9.9999999999999982,
                               1e-300, 5e-324, 1e15, 123456789012.5, 1e300, -1e300};
    while (values.size() < count) {
        const double unit = std::pow(10.0, -decimals);
        double value = 0;
        switch (engine() % 6) {
            case 0: value = uniform(-1, 1) * std::pow(10.0, uniform(-8, 12)); break;  // anything
            case 1: value = std::round(uniform(-1e6, 1e6)) / 1000; break;           // three decimals
            case 2: value = (std::round(uniform(-1e5, 1e5)) + 0.5) * unit; break;    // a half
            case 3: value = std::round(uniform(-1e4, 1e4)) * unit * 0.1 + 0.05 * unit; break;
            case 4: value = static_cast<double>(static_cast<float>(uniform(-1, 1) * std::pow(10.0, uniform(-3, 6)))); break;
            default: value = uniform(-1, 1) * std::pow(10.0, std::round(uniform(-6, 9))) * 9.99999999999999; break;
        }
        const int steps = static_cast<int>(engine() % 7) - 3;
        for (int k = 0; k < std::abs(steps); ++k) value = std::nextafter(value, steps > 0 ? HUGE_VAL : -HUGE_VAL);
        values.push_back(value);
    }
    return values;
}

TEST(QuickDecimalPaths, SameTextsAndValuesAsTheDecimalText) {
    for (const int decimals : {0, 2, 3, 4}) {
        for (const double value : awkwardValues(decimals, 20000)) {
            std::string quick;
            AppendFixed(quick, value, decimals);
            ASSERT_EQ(quick, DecimalText::FromDouble(value).Fixed(decimals)) << value << " to " << decimals;
        }
    }
    for (const double value : awkwardValues(4, 40000)) {
        for (const Rounding mode : {Rounding::HalfToEven, Rounding::HalfAwayFromZero}) {
            std::string quick;
            AppendRoundedFixed(quick, value, 4, mode, 2);
            ASSERT_EQ(quick, DecimalText::FromDouble(value).RoundToDecimals(4, mode).Fixed(2)) << value;
        }
    }
    for (const int significant : {1, 3, 7, 9}) {
        for (const double value : awkwardValues(significant, 20000)) {
            const double quick = RoundTextToSignificant(value, significant, Rounding::HalfToEven);
            const double slow = DecimalText::FromDouble(value).RoundToSignificant(significant, Rounding::HalfToEven).ToDouble();
            ASSERT_EQ(std::signbit(quick), std::signbit(slow)) << value;
            ASSERT_EQ(quick, slow) << value << " at " << significant << " digits";
        }
    }
}

TEST(QuickDecimalPaths, HalvesAtTheRoundedPlace) {
    // Worked by hand: the halves go to DecimalText, which decides them on the text.
    std::string text;
    AppendFixed(text, 52.1245, 3);
    AppendRoundedFixed(text += ' ', 52.355 - 52.3, 4, Rounding::HalfToEven, 2);
    AppendRoundedFixed(text += ' ', -0.004, 4, Rounding::HalfToEven, 2);
    AppendRoundedFixed(text += ' ', 7.8 - 3.25, 4, Rounding::HalfToEven, 2);
    EXPECT_EQ(text, "52.125 0.06 0.00 4.55");
    EXPECT_EQ(RoundTextToSignificant(static_cast<double>(1234.5625f), 7, Rounding::HalfToEven), 1234.562);
    EXPECT_EQ(RoundTextToSignificant(static_cast<double>(12.3456789f), 7, Rounding::HalfToEven), 12.34568);
    EXPECT_EQ(RoundTextToSignificant(static_cast<double>(52.1f), 7, Rounding::HalfToEven), 52.1);
    EXPECT_EQ(RoundTextToSignificant(9999999.6, 7, Rounding::HalfToEven), 10000000.0);
}

}  // namespace
}  // namespace qorvel
