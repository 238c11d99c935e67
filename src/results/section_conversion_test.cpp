#include "results/section_conversion.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/decimal_text.h"
#include "results/xml_text.h"
#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

SectionLayoutSettings to(std::string_view layout) {
    SectionLayoutSettings settings;
    settings.layoutName = layout;
    return settings;
}

ConversionResult convert(std::string_view bytes, std::string_view from, std::string_view target,
                         const DataFile* stakes = nullptr, const char* file = "in.dat") {
    const ReadSections read = ReadSectionFile(file, bytes, from.empty() ? nullptr : FindSectionLayout(from));
    return ConvertSections(read, file, stakes, to(target));
}

std::string converted(std::string_view bytes, std::string_view from, std::string_view target,
                      const DataFile* stakes = nullptr) {
    return convert(bytes, from, target, stakes).output.bytes();
}

// Descending, 1000 given twice, 1020 with its left side only, 1040 without points.
constexpr std::string_view kBegin =
    "BEGIN,1020:1\r\n-4.000,50.800\r\n0.000,50.500\r\n"
    "BEGIN,1000:2\r\n-5.000,50.200\r\n0.000,50.000\r\n6.000,49.700\r\n"
    "BEGIN,1000:3\r\n0.000,50.000\r\n"
    "BEGIN,1040:4\r\n0.000,51.000\r\n";

const DataFile kStakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\n1020.0,,20,0,50.5\r\n1040,,40,10,51.0004\r\n");

TEST(SectionConversion, BeginToHdmForwardOncePerChainage) {
    const ConversionResult result = convert(kBegin, "", "纬地 HDM");
    EXPECT_EQ(result.output.bytes(),
              "HINTCAD5.83_HDM_SHUJU\r\n"
              "1000.000\r\n1\t5.000\t0.200\r\n1\t6.000\t-0.300\r\n\r\n"
              "1020.000\r\n1\t4.000\t0.300\r\n0\r\n\r\n"
              "1040.000\r\n0\r\n0\r\n\r\n");
    EXPECT_EQ(LeftOutSectionsWarning("in.dat", result.leftOut), "有 1 个断面未写出（文件“in.dat”）：桩号重复 1000（第 8 行）");
    EXPECT_EQ(ConversionSummary(result, *FindSectionLayout("BEGIN 块"), *FindSectionLayout("纬地 HDM")),
              "共转换断面 3 个：BEGIN 块 → 纬地 HDM。");
}

TEST(SectionConversion, LandXmlFromTheStakesRoute) {
    EXPECT_EQ(ErrorOf([] { convert(kBegin, "", "LandXML"); }), "转换为 LandXML 须给出中桩文件：LandXML 的路线经过各中桩");
    const ConversionResult result = convert(kBegin, "", "LandXML", &kStakes);
    EXPECT_EQ(result.written, 2u);
    const XmlDocument document = XmlDocument::Parse("out.xml", result.output.bytes());
    const XmlElement& alignment = *document.Children(*document.Children(document.root(), "Alignments")[0], "Alignment")[0];
    EXPECT_EQ(document.Children(*document.Children(alignment, "CoordGeom")[0], "Line").size(), 2u);
    const auto sections = document.Children(*document.Children(alignment, "CrossSects")[0], "CrossSect");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(*sections[0]->Attribute("sta"), "1000");
    EXPECT_EQ(document.Children(*document.Children(*sections[1], "CrossSectSurf")[0], "PntList2D")[0]->text,
              "-4.000 50.800 0.000 50.500");
}

TEST(SectionConversion, StakeElevationsFromTheStakesFile) {
    constexpr std::string_view kFormat1 = "1000\r\n5.00 50.20\r\n6.00 49.70\r\n1020\r\n4.00 50.80\r\n\r\n";
    EXPECT_EQ(ErrorOf([&] { convert(kFormat1, "格式 1", "格式 3"); }),
              "文件“in.dat”第 1 行：断面“1000”缺少中桩高程（“格式 1”不含中桩高程），转换为“格式 3”须给出中桩文件");
    // 1000 by its text, 1020 by its value (the stakes write 1020.0); the stake's text copied.
    EXPECT_EQ(converted(kFormat1, "格式 1", "格式 3", &kStakes),
              "1000 50 5.00 0.20 6.00 -0.30\r\n1020 50.5 4.00 0.30 \r\n");
    const DataFile others = DataFile::FromBytes("other.dat", "1000,,0,0,50\r\n");
    EXPECT_EQ(ErrorOf([&] { convert(kFormat1, "格式 1", "格式 3", &others); }),
              "文件“in.dat”第 4 行：中桩文件“other.dat”中没有桩号“1020”，得不到这个断面的中桩高程");
    // A BEGIN block without its stake row needs it too; the one with it does not.
    EXPECT_EQ(ErrorOf([] { convert("BEGIN,1000:1\r\n-5,50.2\r\n", "", "格式 2"); }),
              "文件“in.dat”第 1 行：断面“1000”缺少中桩高程（这个断面没有偏距为 0 的中桩点），转换为“格式 2”须给出中桩文件");

    // Heights stay heights without any stake; turned into elevations they need its elevation.
    constexpr std::string_view kFormat4 = "1000\r\n5.00 0.20 7.00 0.25\r\n\r\n";
    EXPECT_EQ(converted(kFormat4, "格式 4", "格式 5"), "1000\r\n5.00 0.20 2.00 0.05\r\n\r\n");
    EXPECT_EQ(converted(kFormat4, "格式 4", "BEGIN 块", &kStakes),
              "BEGIN,1000:1\r\n-7.000,50.250\r\n-5.000,50.200\r\n0.000,50.000\r\n");

    // Elevations near the range of a double: a height above the stake, or a height between
    // neighbours, beyond it names the section and the elevation that carried it there.
    const DataFile high = DataFile::FromBytes("high.dat", "1000,,0,0,1e308\r\n");
    EXPECT_EQ(ErrorOf([&] { convert("1000\r\n1 1e308\r\n\r\n", "格式 4", "格式 1", &high); }),
              "文件“in.dat”第 1 行：桩号“1000”的断面：高程数值过大：“1e308”，用它计算的结果超出了数值范围");
    EXPECT_EQ(ErrorOf([] { convert("BEGIN,1000:1\r\n-2,-1.7e308\r\n-1,1.7e308\r\n0,50\r\n", "", "格式 5"); }),
              "文件“in.dat”第 1 行：桩号“1000”的断面：高程数值过大：“1.7e+308”，用它计算的结果超出了数值范围");
}

TEST(SectionConversion, TheTargetsSwitchesAndStations) {
    SectionLayoutSettings settings = to("格式 1");
    settings.stationText = true;
    settings.blankLine = true;
    settings.swapSides = true;
    const ReadSections read = ReadSectionFile("in.dat", kBegin.substr(0, kBegin.find("BEGIN,1000")), nullptr);
    EXPECT_EQ(ConvertSections(read, "in.dat", nullptr, settings).output.bytes(),
              " \r\nK1+020\r\n\r\n4.00 50.80\r\n");
    // A station that is no number cannot be an HDM chainage.
    EXPECT_EQ(ErrorOf([] { convert("K1+000\r\n\r\n\r\n", "格式 1", "纬地 HDM"); }),
              "文件“in.dat”第 1 行：纬地 HDM 的桩号必须是数字：“K1+000”");
    // Point names come through a table to a table; GBK inside, UTF-8 in the file.
    constexpr std::string_view kCsv = "\xEF\xBB\xBF桩号,偏距,高程,点名\r\n路1,-1.000,5.000,点\"1\r\n路1,0.000,6.000,\r\n";
    EXPECT_EQ(converted(kCsv, "", "CSV 表"),
              "\xEF\xBB\xBF桩号,偏距,高程,点名\r\n路1,-1.000,5.000,\"点\"\"1\"\r\n路1,0.000,6.000,\r\n");
}

// A survey of many sections with points at three decimals, as BEGIN blocks in descending
// chainage: begin → csv → landxml → hdm → begin gives the same blocks, forward.
TEST(SectionConversion, RoundTripKeepsThreeDecimals) {
    std::mt19937 random(7);
    const auto millimetres = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string stakes;
    std::vector<std::string> blocks;
    for (int station = 0; station < 60; ++station) {
        const double chainage = 20.0 * station + (station % 7 == 3 ? 0.125 : 0);
        const int stakeElevation = millimetres(100000, 200000);
        const std::string text = FormatGeneral(chainage);
        stakes += text + ",," + text + ",0," + FormatFixed(stakeElevation / 1000.0, 3) + "\r\n";
        std::string block = "BEGIN," + text + ":1\r\n";
        std::vector<int> offsets;
        for (int offset = -millimetres(1, 30000); offset < 0; offset += millimetres(1, 8000)) offsets.push_back(offset);
        offsets.push_back(0);
        for (int offset = millimetres(1, 8000); offset < 30000; offset += millimetres(1, 8000)) offsets.push_back(offset);
        for (const int offset : offsets) {
            const int elevation = offset == 0 ? stakeElevation : stakeElevation + millimetres(-5000, 5000);
            block += FormatFixed(offset / 1000.0, 3) + "," + FormatFixed(elevation / 1000.0, 3) + "\r\n";
        }
        blocks.push_back(block);
    }
    std::string begin;
    for (std::size_t k = blocks.size(); k > 0; --k) begin += blocks[k - 1];
    const DataFile stakeFile = DataFile::FromBytes("stakes.dat", stakes);

    const std::string csv = converted(begin, "", "CSV 表");
    const std::string landXml = converted(csv, "", "LandXML", &stakeFile);
    const std::string hdm = converted(landXml, "", "纬地 HDM");
    const std::string again = converted(hdm, "", "BEGIN 块", &stakeFile);
    std::string forward;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::string& block = blocks[k];
        forward += block.substr(0, block.find(':') + 1) + std::to_string(k + 1) + block.substr(block.find('\r'));
    }
    EXPECT_EQ(again, forward);
}

}  // namespace
}  // namespace qorvel
