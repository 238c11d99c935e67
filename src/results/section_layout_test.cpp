#include "results/section_layout.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

SectionRecord record(std::string_view chainage, std::string_view stakeElevation) {
    SectionRecord section;
    section.chainage = {chainage, "members.dat", 7, 0};
    section.stakeElevation = {stakeElevation, "stakes.dat", 3, 4};
    return section;
}

std::string write(const SectionRecord& section, const SideList& first, const SideList& second,
                  const SectionLayoutSettings& settings) {
    OutputText output;
    EXPECT_TRUE(WriteSectionLayout(section, first, second, settings, output));
    return output.bytes();
}

SectionLayoutSettings layout(std::string_view name) {
    SectionLayoutSettings settings;
    settings.layoutName = name;
    return settings;
}

const SideList kFirst{{3.25, 52.1}, {7.8, 51.75}, {12.4, 50.9}};
const SideList kSecond{{4.1, 52.45}, {9.6, 53.2}};

TEST(SectionLayout, NumbersAreRoundedTwiceOnTheirDecimalText) {
    EXPECT_EQ(LayoutNumberText(0.5), "0.50");
    EXPECT_EQ(LayoutNumberText(12.4), "12.40");
    EXPECT_EQ(LayoutNumberText(-1.399999), "-1.40");
    EXPECT_EQ(LayoutNumberText(1234.5678), "1234.57");
    EXPECT_EQ(LayoutNumberText(0.005), "0.01");
    EXPECT_EQ(LayoutNumberText(0.00499999), "0.01");  // four decimals first: 0.0050
    EXPECT_EQ(LayoutNumberText(0.0049), "0.00");
    EXPECT_EQ(LayoutNumberText(0.00005), "0.00");     // halves to even: 0.0000
    EXPECT_EQ(LayoutNumberText(0.00015), "0.00");     // 0.0002, then 0.00
    EXPECT_EQ(LayoutNumberText(-0.004), "0.00");      // zero carries no minus sign
    EXPECT_EQ(LayoutNumberText(-0.0), "0.00");
    EXPECT_EQ(LayoutNumberText(-0.015), "-0.02");
}

TEST(SectionLayout, HeightsAreDifferencesInDoublePrecisionThenRounded) {
    // 52.355 - 52.3 is 0.0549999... in double arithmetic: 0.0550 after the first rounding, 0.06
    // after the second, where one rounding to two decimals would give 0.05.
    EXPECT_EQ(write(record("1", "52.300"), {{1, 52.355}}, {}, layout("格式 4")), "1\r\n1.00 0.06\r\n\r\n");
    // Heights of 0.005, 0.00499999 and 0.0049 above a stake at 0.
    EXPECT_EQ(write(record("1", "0"), {{1, 0.005}, {2, 0.00499999}, {3, 0.0049}}, {}, layout("格式 3")),
              "1 0 1.00 0.01 2.00 0.01 3.00 0.00 \r\n");
}

TEST(SectionLayout, SwitchesSwapNegateConvertAndSpace) {
    const SectionRecord section = record("1100", "52.300");
    SectionLayoutSettings settings = layout("格式 5");
    settings.swapSides = true;
    settings.negateHeights = true;
    EXPECT_EQ(write(section, kFirst, kSecond, settings),
              "1100\r\n4.10 -0.15 5.50 -0.75\r\n3.25 0.20 4.55 0.35 4.60 0.85\r\n");
    // Elevations are never negated.
    settings.layoutName = "格式 2";
    EXPECT_EQ(write(section, {{1, 5}}, {{2, 6}}, settings), "1100 52.300 2.00 6.00 1.00 5.00\r\n");

    settings = layout("格式 1");
    settings.stationText = true;
    settings.blankLine = true;
    EXPECT_EQ(write(record("1050", "1"), {}, {}, settings), " \r\nK1+050\r\n\r\n\r\n");
    EXPECT_EQ(write(record("12005.5", "1"), {}, {{1, 2}}, settings), " \r\nK12+05.5\r\n\r\n1.00 2.00\r\n");
}

TEST(SectionLayout, EmptySidesKeepTheirPlace) {
    const SectionRecord section = record("1100", "52.300");
    EXPECT_EQ(write(section, {}, {}, layout("格式 1")), "1100\r\n\r\n\r\n");
    EXPECT_EQ(write(section, {}, kSecond, layout("格式 2")), "1100 52.300  4.10 52.45 9.60 53.20\r\n");
    EXPECT_EQ(write(section, kSecond, {}, layout("格式 2")), "1100 52.300 4.10 52.45 9.60 53.20 \r\n");
    EXPECT_EQ(write(section, {}, {}, layout("格式 3")), "1100 52.300  \r\n");
    EXPECT_EQ(write(section, {}, kSecond, layout("格式 4")), "1100\r\n\r\n4.10 0.15 9.60 0.90\r\n");
}

TEST(SectionLayout, StakeElevationIsCopiedButItsValueIsUsed) {
    EXPECT_EQ(write(record("1100", "052.300"), {{2, 52.8}}, {}, layout("格式 3")), "1100 052.300 2.00 0.50 \r\n");
    EXPECT_EQ(write(record("1100", "52.3"), {{2, 52.8}}, {}, layout("格式 2")), "1100 52.3 2.00 52.80 \r\n");
    // Read leniently: the leading number, 0 when there is none.
    EXPECT_EQ(write(record("1100", " 52.3m"), {{2, 52.8}}, {}, layout("格式 4")), "1100\r\n2.00 0.50\r\n\r\n");
    EXPECT_EQ(write(record("1100", "n/a"), {{2, 52.8}}, {}, layout("格式 5")), "1100\r\n2.00 52.80\r\n\r\n");
}

TEST(SectionLayout, StepwiseLayoutAtEqualDistances) {
    EXPECT_EQ(write(record("1", "10"), {{5, 11}, {5, 12}, {7.5, 11.5}}, {}, layout("格式 5")),
              "1\r\n5.00 1.00 0.00 1.00 2.50 -0.50\r\n\r\n");
}

TEST(SectionLayout, HdmSidesAsCountAndStepwisePairs) {
    // Three decimals, each point from the one before it, whatever the switches say.
    SectionLayoutSettings settings = layout("纬地 HDM");
    settings.swapSides = true;
    EXPECT_EQ(write(record("1100", "52.300"), kFirst, kSecond, settings),
              "1100.000\r\n3\t3.250\t-0.200\t4.550\t-0.350\t4.600\t-0.850\r\n2\t4.100\t0.150\t5.500\t0.750\r\n\r\n");
    OutputText output;
    WriteSectionLayoutHeading(settings, output);
    EXPECT_EQ(output.bytes(), "HINTCAD5.83_HDM_SHUJU\r\n");
}

TEST(SectionLayout, SwitchesALayoutHasNoUseFor) {
    SectionLayoutSettings settings = layout("纬地 HDM");
    EXPECT_EQ(SectionLayoutConflict(settings), "");
    settings.swapSides = true;
    EXPECT_EQ(SectionLayoutConflict(settings),
              "“幅别颠倒生成”不适用于成果格式“纬地 HDM”：它的左右总是按路线前进方向区分，颠倒后左右就反了");
    settings = layout("纬地 HDM");
    settings.stationText = true;
    EXPECT_EQ(SectionLayoutConflict(settings), "“转换为字符型桩号”不适用于成果格式“纬地 HDM”：它的桩号是里程数");
    settings = layout("CSV 表");
    settings.blankLine = true;
    EXPECT_EQ(SectionLayoutConflict(settings), "“变换高差正负号”和“断面桩号隔一行生成”不适用于成果格式“CSV 表”");
    EXPECT_EQ(SectionLayoutConflict(layout("格式 6")), "没有这种成果格式：格式 6");
}

TEST(SectionLayout, UnknownLayoutWritesNothing) {
    for (std::string_view name : {"格式1", "格式 6", "格式 1 ", "", "1", "csv", "LandXML"}) {
        OutputText output;
        SectionLayoutSettings settings = layout(name);
        settings.blankLine = true;
        settings.stationText = true;  // not even looked at
        EXPECT_FALSE(WriteSectionLayout(record("not a number", "1"), kFirst, kSecond, settings, output)) << name;
        EXPECT_EQ(output.bytes(), "") << name;
    }
}

TEST(SectionLayout, StationTextOfAChainageThatIsNoNumberFails) {
    SectionLayoutSettings settings = layout("格式 1");
    settings.stationText = true;
    OutputText output;
    try {
        WriteSectionLayout(record("K1+100", "1"), kFirst, kSecond, settings, output);
        FAIL() << "no failure";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“members.dat”第 7 行，字段 0：桩号不是数字，不能转换为字符型桩号：“K1+100”");
    }
    // A stake elevation beyond the range of a double, in a layout of heights.
    try {
        WriteSectionLayout(record("1100", "1e999"), kFirst, kSecond, layout("格式 3"), output);
        FAIL() << "no failure";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“stakes.dat”第 3 行，字段 4：数值超出范围：“1e999”");
    }
    // Absolute elevations do not need it.
    EXPECT_TRUE(WriteSectionLayout(record("1100", "1e999"), {}, {}, layout("格式 2"), output));
}

// The layout of a --format value, by the name the settings hold.
SectionLayoutSettings commandLayout(std::string_view value) {
    const SectionLayoutEntry* entry = FindSectionLayoutByCommandValue(value);
    EXPECT_NE(entry, nullptr) << value;
    return layout(entry ? entry->name : "");
}

TEST(SectionLayout, BeginBlocksRunFromTheFarLeftToTheFarRight) {
    const SectionRecord section = record("1100", "52.300");
    SectionLayoutSettings settings = commandLayout("begin");
    OutputText output;
    EXPECT_TRUE(WriteSectionLayout(section, kFirst, kSecond, settings, output, 1));
    settings.swapSides = true;
    settings.stationText = true;
    // The left side alone, its nearest point so near that its offset rounds to zero; halves
    // away from zero on the 15-digit text (2.0005 lies a hair below it as a double).
    EXPECT_TRUE(WriteSectionLayout(section, {}, {{0.0004, 52}, {2.0005, 52.0005}}, settings, output, 2));
    EXPECT_TRUE(WriteSectionLayout(record("1120", "n/a"), {}, {}, settings, output, 3));
    EXPECT_EQ(output.bytes(),
              "BEGIN,1100:1\r\n-12.400,50.900\r\n-7.800,51.750\r\n-3.250,52.100\r\n0.000,52.300\r\n4.100,52.450\r\n"
              "9.600,53.200\r\n"
              "BEGIN,K1+100:2\r\n-2.001,52.001\r\n0.000,52.000\r\n0.000,52.300\r\n"
              "BEGIN,K1+120:3\r\n0.000,0.000\r\n");
    EXPECT_EQ(output.lineCount(), 13u);
}

TEST(SectionLayout, CsvTableInUtf8WithQuotedFields) {
    // Names and the station as GBK bytes in the files, UTF-8 in the table; a quote is doubled
    // in a quoted field.
    std::vector<MemberPoint> points{{9, "", "", "", "\xB5\xE3\x31", ""}, {10, "", "", "", "Q\"2", ""}};
    SectionRecord section = record("\xC2\xB7 1100", "52.3");
    section.pointFile = "points.dat";
    section.points = points;
    const SideList left{{3.25, 52.1, points[0].name}, {7.8, 51.75, points[1].name}};
    OutputText output;
    SectionLayoutSettings settings = commandLayout("csv");
    settings.negateHeights = true;  // no heights to negate, no blank lines
    settings.blankLine = true;
    WriteSectionLayoutHeading(settings, output);
    EXPECT_TRUE(WriteSectionLayout(section, left, {}, settings, output));
    settings.swapSides = true;
    EXPECT_TRUE(WriteSectionLayout(section, left, {}, settings, output));
    EXPECT_EQ(output.bytes(),
              "\xEF\xBB\xBF桩号,偏距,高程,点名\r\n"
              "路 1100,-7.800,51.750,\"Q\"\"2\"\r\n路 1100,-3.250,52.100,点1\r\n路 1100,0.000,52.300,\r\n"
              "路 1100,0.000,52.300,\r\n路 1100,3.250,52.100,点1\r\n路 1100,7.800,51.750,\"Q\"\"2\"\r\n");

    // A name that is no GBK names its detail point line.
    points[1].name = "\xFF\x20";
    const SideList broken{{1, 2, points[1].name}};
    try {
        WriteSectionLayout(section, broken, {}, settings, output);
        FAIL() << "no failure";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“points.dat”第 10 行，字段 0：不是 GBK 文字，无法转换为 UTF-8：“\\xFF ”");
    }
}

}  // namespace
}  // namespace qorvel
