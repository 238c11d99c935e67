#include "station/station_text.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(ChainageFromStationText, ReadsStationText) {
    EXPECT_EQ(ChainageFromStationText("K12+345.6"), 12345.6);
    EXPECT_EQ(ChainageFromStationText("K0+000"), 0.0);
    EXPECT_EQ(ChainageFromStationText("K1+200"), 1200.0);
    EXPECT_EQ(ChainageFromStationText("12+345"), 2345.0);  // the first character is skipped, whatever it is
    EXPECT_EQ(ChainageFromStationText("K 1 + 5 "), 1005.0);
    EXPECT_EQ(ChainageFromStationText("K1+ - 5"), 995.0);
    EXPECT_EQ(ChainageFromStationText("K1+2e2"), 1200.0);
    EXPECT_EQ(ChainageFromStationText("K1+5."), 1005.0);
    EXPECT_EQ(ChainageFromStationText("K1+.5"), 1000.5);
    EXPECT_EQ(ChainageFromStationText("K12+345.67"), 12345.67);  // held at 15 digits: 12345.67, not 12345.670000000002
    // A GBK character as prefix is one character: 桩 is two bytes.
    EXPECT_EQ(ChainageFromStationText("\xD7\xAE" "1+200"), 1200.0);
}

TEST(ChainageFromStationText, GivesNoValueForTextItCannotRead) {
    for (const char* bad : {"K12+", "AK12+345", "K12345", "K12+345+6", "K-1+500", "K+5", "", "K", "K1+\t5", "K1+5 5"})
        EXPECT_EQ(ChainageFromStationText(bad), std::nullopt) << bad;
}

TEST(FormatStationText, WritesKilometresPlusFilledMetres) {
    EXPECT_EQ(FormatStationText(12345.6), "K12+345.6");
    EXPECT_EQ(FormatStationText(12020), "K12+020");
    EXPECT_EQ(FormatStationText(12000), "K12+000");
    EXPECT_EQ(FormatStationText(12005.5), "K12+05.5");
    EXPECT_EQ(FormatStationText(12000.5), "K12+0.5");
    EXPECT_EQ(FormatStationText(999), "K0+999");
    EXPECT_EQ(FormatStationText(12999.6), "K12+999.6");
    EXPECT_EQ(FormatStationText(12999.4996), "K12+999.5");
    EXPECT_EQ(FormatStationText(12999.5), "K12+999.5");
    EXPECT_EQ(FormatStationText(0), "K0+000");
    EXPECT_EQ(FormatStationText(1050), "K1+050");
    EXPECT_EQ(FormatStationText(1100), "K1+100");
    EXPECT_EQ(FormatStationText(12000.0125), "K12+0.013");
    EXPECT_EQ(FormatStationText(12999.9996), "K13+000");  // the metres carry into the kilometre
}

TEST(FormatStationText, TakesChainageTextStrictly) {
    EXPECT_EQ(FormatStationText(std::string_view("12345.6")), "K12+345.6");
    EXPECT_EQ(FormatStationText(std::string_view(" 1200 ")), "K1+200");
    EXPECT_EQ(FormatStationText(std::string_view("")), std::nullopt);
    EXPECT_EQ(FormatStationText(std::string_view("K1+200")), std::nullopt);
    EXPECT_EQ(FormatStationText(std::string_view("12abc")), std::nullopt);
}

}  // namespace
}  // namespace qorvel
