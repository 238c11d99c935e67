#include "results/section_reading.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

const SideList kFirst{{3.25, 52.1}, {7.8, 51.75}, {12.4, 50.9}};
const SideList kSecond{{4.1, 52.45}, {9.6, 53.2}};

std::string written(std::string_view layout, const SideList& first, const SideList& second) {
    SectionRecord record;
    record.chainage = {"1100", "members.dat", 1, 0};
    record.stakeElevation = {"52.300", "stakes.dat", 1, 4};
    SectionLayoutSettings settings;
    settings.layoutName = layout;
    OutputText output;
    WriteSectionLayoutHeading(settings, output);
    WriteSectionLayout(record, first, second, settings, output);
    return output.bytes();
}

void expectSide(const std::vector<ReadPoint>& read, const SideList& side, double heightFrom, const std::string& layout) {
    ASSERT_EQ(read.size(), side.size()) << layout;
    for (std::size_t k = 0; k < side.size(); ++k) {
        EXPECT_NEAR(read[k].distance, side[k].distance, 1e-9) << layout << " point " << k;
        EXPECT_NEAR(read[k].height, side[k].elevation - heightFrom, 1e-9) << layout << " point " << k;
    }
}

TEST(SectionReading, EveryLayoutReadsBackWhatItsWriterWrote) {
    // Both sides, one side empty, the other empty: in every layout but LandXML (a whole
    // document, read in the conversion's tests).
    for (const SectionLayoutEntry& layout : SectionLayouts()) {
        if (layout.kind == SectionLayoutKind::LandXml) continue;
        for (const auto& [first, second] : {std::pair{kFirst, kSecond}, std::pair{SideList{}, kSecond},
                                            std::pair{kFirst, SideList{}}}) {
            const std::string name(layout.name);
            const ReadSections read = ReadSectionFile("in.dat", written(layout.name, first, second), &layout);
            ASSERT_EQ(read.sections.size(), 1u) << name;
            const ReadSection& section = read.sections[0];
            EXPECT_EQ(section.station, "1100") << name;
            EXPECT_EQ(section.chainage, 1100.0) << name;
            const double from = read.heightsAboveStake ? 52.3 : 0;
            expectSide(section.first, first, from, name);
            expectSide(section.second, second, from, name);
            const bool carries = layout.kind == SectionLayoutKind::Format2 || layout.kind == SectionLayoutKind::Format3 ||
                                 layout.kind == SectionLayoutKind::Begin || layout.kind == SectionLayoutKind::Csv;
            EXPECT_EQ(section.stakeElevation, carries ? "52.300" : "") << name;
        }
    }
}

TEST(SectionReading, LayoutsTellThemselvesApart) {
    EXPECT_EQ(DetectSectionLayout("HINTCAD5.83_HDM_SHUJU\r\n")->kind, SectionLayoutKind::Hdm);
    EXPECT_EQ(DetectSectionLayout("BEGIN,1100:1\r\n")->kind, SectionLayoutKind::Begin);
    EXPECT_EQ(DetectSectionLayout("\xEF\xBB\xBF桩号,偏距,高程,点名\r\n")->kind, SectionLayoutKind::Csv);
    EXPECT_EQ(DetectSectionLayout("\r\n <?xml version=\"1.0\"?>")->kind, SectionLayoutKind::LandXml);
    EXPECT_EQ(DetectSectionLayout("1100\r\n1.00 2.00\r\n\r\n"), nullptr);
}

TEST(SectionReading, WhatOtherProgramsWrite) {
    // BEGIN with the stake's coordinates and no stake row, any block number; HDM pairs
    // separated by TABs and blanks; a CSV table saved by a spreadsheet in GBK, one station
    // surveyed twice in a row.
    ReadSections read = ReadSectionFile("a.dat", "BEGIN,K0+100,(438250.1,3391620.2):7\r\n-2.5,10\r\n1,11\r\n", nullptr);
    EXPECT_EQ(read.sections[0].station, "K0+100");
    EXPECT_EQ(read.sections[0].chainage, std::nullopt);
    EXPECT_EQ(read.sections[0].stakeElevation, "");
    EXPECT_EQ(read.sections[0].first[0].distance, 2.5);
    EXPECT_EQ(read.sections[0].second[0].distance, 1);

    read = ReadSectionFile("a.hdm", "HINTCAD5.83_HDM_SHUJU\n100.5\n2 1.5\t0.1   2\t-0.2\n0\n", nullptr);
    EXPECT_EQ(read.sections[0].station, "100.5");
    EXPECT_NEAR(read.sections[0].first[1].distance, 3.5, 1e-12);
    EXPECT_NEAR(read.sections[0].first[1].height, -0.1, 1e-12);

    read = ReadSectionFile("a.csv",
                           "\xD7\xAE\xBA\xC5,\xC6\xAB\xBE\xE0,\xB8\xDF\xB3\xCC,\xB5\xE3\xC3\xFB\r\n"
                           "1100,-1,5,\"P,1\"\r\n1100,0,6,\r\n1100,2,7,P2\r\n1100,0,6.5,\r\n1100,1,8,P3\r\n"
                           "1100,-3,9,P4\r\n1120,0,1,\r\n",
                           nullptr);
    ASSERT_EQ(read.sections.size(), 4u);
    EXPECT_EQ(read.sections[0].first[0].name, "P,1");
    EXPECT_EQ(read.sections[0].stakeElevation, "6");
    EXPECT_EQ(read.sections[1].stakeElevation, "6.5");  // a second stake row
    EXPECT_EQ(read.sections[2].line, 7u);              // a falling offset
    EXPECT_EQ(read.sections[3].station, "1120");
}

TEST(SectionReading, OneLineLayoutSplitWhereTheDistanceDrops) {
    const SectionLayoutEntry* format2 = FindSectionLayout("格式 2");
    const ReadSections read = ReadSectionFile("a.dat", "1100 52.300 1.00 5.00 3.00 6.00 2.00 7.00\r\n", format2);
    EXPECT_EQ(read.sections[0].first.size(), 2u);
    EXPECT_EQ(read.sections[0].second.size(), 1u);
    EXPECT_EQ(ErrorOf([&] { ReadSectionFile("a.dat", "\r\n1100 52.300 1.00 5.00 3.00 6.00\r\n", format2); }),
              "文件“a.dat”第 2 行：分不出两侧：两侧都有点时，这种格式不标出第一侧在何处结束，而这一行的距离一直没有变小");
}

TEST(SectionReading, LinesThatDoNotFitTheirLayout) {
    const auto error = [](std::string_view bytes, const char* layout = nullptr) {
        return ErrorOf([&] { ReadSectionFile("in.dat", bytes, layout ? FindSectionLayout(layout) : nullptr); });
    };
    EXPECT_EQ(error("HINTCAD5.83_HDM_SHUJU\r\n1100.000\r\n3\t1\t2\t3\t4\r\n0\r\n"),
              "文件“in.dat”第 3 行：左侧的点数为 3，其后却有 2 对数");
    EXPECT_EQ(error("1100\r\n3.25 52.10 7.80\r\n\r\n", "格式 1"),
              "文件“in.dat”第 2 行：数应成对（距离与高程），这里有 3 个数，最后一个“7.80”没有配对");
    EXPECT_EQ(error("HINTCAD5.83_HDM_SHUJU\r\nK1+100\r\n0\r\n0\r\n"), "文件“in.dat”第 2 行：里程不是数字：“K1+100”");
    EXPECT_EQ(error("BEGIN,:1\r\n0,1\r\n"), "文件“in.dat”第 1 行，字段 1：BEGIN 行缺少桩号：“BEGIN,:1”");
    EXPECT_EQ(error("<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.1\"/>"),
              "文件“in.dat”第 1 行：不是 LandXML 1.2 文档：根元素应为 LandXML，命名空间为 "
              "http://www.landxml.org/schema/LandXML-1.2");
    EXPECT_EQ(error("BEGIN,1100:1\r\n-1,5\r\n-2,6\r\n"), "文件“in.dat”第 3 行：偏距应由左至右增大，这里的 -2 小于前一点的 -1");
    EXPECT_EQ(error("桩号,偏距,高程,点名\r\n1100,0,5\r\n"),
              "文件“in.dat”第 2 行：CSV 表的每一行应有 4 个字段（桩号,偏距,高程,点名），这一行有 3 个");
    EXPECT_EQ(error("1100\r\n1.00 2.00\r\n", "格式 4"), "文件“in.dat”第 2 行：断面“1100”缺少第二侧的一行：文件在此结束");
    EXPECT_EQ(error("1100 52.3 1.00 2.00\r\n", "格式 1"),
              "文件“in.dat”第 1 行：这一行应是桩号，却是一串数：“1100 52.3 1.00 2.00”");
    EXPECT_EQ(error("BEGIN,1100:1\r\n", "格式 1"), "文件“in.dat”第 1 行：文件的内容是“BEGIN 块”，不是所指明的“格式 1”");
    EXPECT_EQ(error("1100\r\n\r\n\r\n"), "文件“in.dat”第 1 行：无法从内容判断成果格式：格式 1 至格式 5 的内容彼此分不清，须指明是哪一种");
    EXPECT_EQ(error("HINTCAD5.83_DMX_SHUJU\r\n"), "文件“in.dat”第 1 行：这是纵断面地面线文件（DMX），不是横断面成果文件");
}

}  // namespace
}  // namespace qorvel
