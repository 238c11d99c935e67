#include "core/number_read.h"

#include <charconv>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(ReadLenient, TakesTheLeadingNumberAndIgnoresBlanks) {
    EXPECT_EQ(ReadLenient("12.5abc"), 12.5);
    EXPECT_EQ(ReadLenient("0.1abc"), 0.1);
    EXPECT_EQ(ReadLenient(" 1 2.5 "), 12.5);
    EXPECT_EQ(ReadLenient("\t- 3"), -3.0);
    EXPECT_EQ(ReadLenient(".5"), 0.5);
    EXPECT_EQ(ReadLenient("-.5"), -0.5);
    EXPECT_EQ(ReadLenient("5."), 5.0);
    EXPECT_EQ(ReadLenient("+7"), 7.0);
    EXPECT_EQ(ReadLenient("1e3"), 1000.0);
    EXPECT_EQ(ReadLenient("2E-2x"), 0.02);
    EXPECT_EQ(ReadLenient("1e"), 1.0);
    EXPECT_EQ(ReadLenient("1e+"), 1.0);
    EXPECT_EQ(ReadLenient("1.2.3"), 1.2);
}

TEST(ReadLenient, NoDigitsReadAsZeroButOverflowIsReported) {
    EXPECT_EQ(ReadLenient(""), 0.0);
    EXPECT_EQ(ReadLenient("abc"), 0.0);
    EXPECT_EQ(ReadLenient("-"), 0.0);
    EXPECT_EQ(ReadLenient("."), 0.0);
    EXPECT_EQ(ReadLenient("1e-400"), 0.0);  // underflow is just a very small number
    EXPECT_EQ(ReadLenient("1e400"), std::nullopt);
    EXPECT_EQ(ReadLenient("-1e99999999999999999999"), std::nullopt);
}

TEST(ReadLenient, ShortDecimalsReadAsTheNearestDouble) {
    // Survey numbers take a quick path; it must give what a correctly rounded conversion gives.
    const auto nearest = [](const std::string& text) {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    };
    std::mt19937_64 random(20240611);
    for (int k = 0; k < 20000; ++k) {
        const int digits = 1 + static_cast<int>(random() % 19);
        std::string text;
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
        if (random() % 4 != 0) text.insert(random() % (text.size() + 1), ".");
        ASSERT_EQ(ReadLenient(text), nearest(text)) << text;
        ASSERT_EQ(ReadLenient("-" + text + "x"), -nearest(text)) << text;
        // The reading tells plain numbers as the strict form does.
        for (const std::string& written : {text, "-" + text + "x", " " + text + " ", text + "\t", "1 " + text}) {
            bool plain = false;
            ReadLenient(written, plain);
            ASSERT_EQ(plain, IsPlainNumber(written)) << '"' << written << '"';
        }
    }
    // At the edges of the quick path: 2^53 and just beyond, 22 and 23 decimals, 19 and 20 digits.
    for (const std::string text : {"9007199254740992", "9007199254740993", "0.1234567890123456789012",
                                   "0.12345678901234567890123", "1234567890123456789", "12345678901234567890",
                                   "0.3", "439123.457", "3391000.125", "000000000000000000000001.5"})
        EXPECT_EQ(ReadLenient(text), nearest(text)) << text;
    EXPECT_EQ(ReadStrict("9007199254740993"), 9007199254740992.0);  // the nearest double, ties to even
}

TEST(ReadStrict, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(ReadStrict(" 12.5 "), 12.5);
    EXPECT_EQ(ReadStrict("+5"), 5.0);
    EXPECT_EQ(ReadStrict("-0.25"), -0.25);
    EXPECT_EQ(ReadStrict(".5"), 0.5);
    EXPECT_EQ(ReadStrict("5."), 5.0);
    EXPECT_EQ(ReadStrict("1e5"), 1e5);
    EXPECT_EQ(ReadStrict("1E-2"), 0.01);
    for (const char* bad : {"", " ", "12.5abc", "abc", "- 5", "1e", ".", "1,5", "\t5", "5\t", "1e400", "--1", "0x10"}) {
        EXPECT_EQ(ReadStrict(bad), std::nullopt) << '"' << bad << '"';
        // The plain form is the strict one, its range aside.
        EXPECT_EQ(IsPlainNumber(bad), std::string_view(bad) == "1e400") << '"' << bad << '"';
    }
    for (const char* plain : {" 12.5 ", "+5", "-.5", "5.", "1E-2"}) EXPECT_TRUE(IsPlainNumber(plain)) << plain;
}

}  // namespace
}  // namespace qorvel
