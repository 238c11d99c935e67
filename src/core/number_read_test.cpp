#include "core/number_read.h"

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

TEST(ReadStrict, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(ReadStrict(" 12.5 "), 12.5);
    EXPECT_EQ(ReadStrict("+5"), 5.0);
    EXPECT_EQ(ReadStrict("-0.25"), -0.25);
    EXPECT_EQ(ReadStrict(".5"), 0.5);
    EXPECT_EQ(ReadStrict("5."), 5.0);
    EXPECT_EQ(ReadStrict("1e5"), 1e5);
    EXPECT_EQ(ReadStrict("1E-2"), 0.01);
    for (const char* bad : {"", " ", "12.5abc", "abc", "- 5", "1e", ".", "1,5", "\t5", "5\t", "1e400", "--1", "0x10"})
        EXPECT_EQ(ReadStrict(bad), std::nullopt) << '"' << bad << '"';
}

}  // namespace
}  // namespace qorvel
