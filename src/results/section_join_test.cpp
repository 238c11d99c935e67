#include "results/section_join.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "support/recording_progress.h"

namespace qorvel {
namespace {

struct Files {
    DataFile members, stakes, points, lines;
    SectionInputs inputs() const { return {members, stakes, points, lines}; }
};

Files files(std::string members, std::string stakes, std::string points, std::string lines) {
    return {DataFile::FromBytes("members.dat", std::move(members)), DataFile::FromBytes("stakes.dat", std::move(stakes)),
            DataFile::FromBytes("points.dat", std::move(points)), DataFile::FromBytes("lines.dat", std::move(lines))};
}

// The physical lines (in the detail point file) of a record's points.
std::vector<std::size_t> pointLines(const SectionRecord& record) {
    std::vector<std::size_t> lines;
    for (const MemberPoint& point : record.points) lines.push_back(point.line);
    return lines;
}

SectionJoin join(const Files& f, double& carried) {
    NullProgress progress;
    return JoinSectionRecords(f.inputs(), carried, progress);
}

TEST(SectionJoin, OneSectionPerMembershipLineInItsOrder) {
    const Files f = files("1220,C,A\r\n1200,B,A,Z\r\n1240,D\r\n",
                          "1200,,500.000,300.000,52.300\r\n1220,,520.000,300.000,52.400\r\n",
                          "A,,1,2,3\r\nB,x,4,5,6\r\nA,,7,8,9\r\nC,,10,11,12\r\n",
                          "1200,480,300,520,300\r\n1220,520,320 m,520,280\r\n");
    double carried = 0;
    const SectionJoin sections = join(f, carried);
    ASSERT_EQ(sections.records.size(), 2u);  // 1240 has neither stake nor line

    const SectionRecord& first = sections.records[0];
    EXPECT_EQ(first.chainage.text, "1220");
    EXPECT_EQ(first.chainage.file, "members.dat");
    EXPECT_EQ(first.chainage.line, 1u);
    EXPECT_EQ(first.stakeEast.text, "520.000");
    EXPECT_EQ(first.stakeNorth.text, "300.000");
    EXPECT_EQ(first.stakeElevation.text, "52.400");
    EXPECT_EQ(first.stakeElevation.line, 2u);
    EXPECT_EQ(first.stakeElevation.field, 4);
    EXPECT_EQ(first.lineAzimuth, 180.0);  // first end north of the second
    // The line's ends as drawn, read leniently.
    EXPECT_EQ(first.lineFirstEnd.east, 520.0);
    EXPECT_EQ(first.lineFirstEnd.north, 320.0);
    EXPECT_EQ(first.lineSecondEnd.north, 280.0);
    // Names in field order; a name on two detail lines brings both, in file order.
    EXPECT_EQ(pointLines(first), (std::vector<std::size_t>{4, 1, 3}));
    EXPECT_EQ(first.points[0].east, "10");
    EXPECT_EQ(first.points[0].north, "11");
    EXPECT_EQ(first.points[0].elevation, "12");

    const SectionRecord& second = sections.records[1];
    EXPECT_EQ(second.chainage.text, "1200");
    EXPECT_EQ(second.lineAzimuth, 90.0);
    EXPECT_EQ(second.stakeEast.text, "500.000");
    EXPECT_EQ(pointLines(second), (std::vector<std::size_t>{2, 1, 3}));  // Z is no detail point
    EXPECT_EQ(carried, 180.0);  // the last line measured
}

TEST(SectionJoin, NamesAndChainagesCompareAsRawText) {
    // "1200.0" is not "1200", "a" is not "A", a blank is part of the name; a member name that is
    // empty names no point, not even one whose name is empty.
    const Files f = files("1200,a,A ,,A\r\n1200.0,A\r\n", "1200,,0,0,0\r\n1200.0 ,,0,0,0\r\n",
                          ",,9,9,9\r\nA,,1,1,1\r\nA ,,2,2,2\r\n", "1200,0,0,0,1\r\n1200.0,0,0,0,1\r\n");
    double carried = 0;
    const SectionJoin sections = join(f, carried);
    ASSERT_EQ(sections.records.size(), 1u);
    EXPECT_EQ(sections.records[0].chainage.text, "1200");
    EXPECT_EQ(pointLines(sections.records[0]), (std::vector<std::size_t>{3, 2}));
}

TEST(SectionJoin, MembersFoundNowhereStillGiveASection) {
    // "1200," is what grouping writes for a section line without members; "1220" names nobody
    // that exists.
    const Files f = files("1200,\r\n1220,nobody\r\n1240\r\n",
                          "1200,,0,0,1\r\n1220,,0,0,1\r\n1240,,0,0,1\r\n", "P,,1,1,1\r\n",
                          "1200,0,0,1,0\r\n1220,0,0,1,0\r\n1240,0,0,1,0\r\n");
    double carried = 0;
    const SectionJoin sections = join(f, carried);
    ASSERT_EQ(sections.records.size(), 3u);
    for (const SectionRecord& record : sections.records) EXPECT_TRUE(record.points.empty());
    EXPECT_EQ(sections.records[2].chainage.text, "1240");
}

TEST(SectionJoin, RepeatedChainagesMultiplyAndDegenerateLinesCarryTheAzimuth) {
    // Two membership lines of 1200, one stake, one section line of 1200 whose ends coincide.
    // Join A gives two stake rows, join B two line rows, D their four pairs, and E pairs each
    // of those with both member rows: eight sections. The coincident line takes the azimuth of
    // the measurement before it: for the first membership line the one left by an earlier step
    // (90), for the second the line 1000 measured last in the first round (0).
    const Files f = files("1200,P\r\n1200,Q\r\n", "1200,,0,0,10\r\n", "P,,1,1,1\r\nQ,,2,2,2\r\n",
                          "1200,5,5,5,5\r\n1000,0,0,0,10\r\n");
    double carried = 90;
    const SectionJoin sections = join(f, carried);
    ASSERT_EQ(sections.records.size(), 8u);
    const std::vector<double> azimuths{90, 90, 0, 0, 90, 90, 0, 0};
    const std::vector<std::size_t> points{1, 2, 1, 2, 1, 2, 1, 2};
    const std::vector<std::size_t> membershipLines{1, 1, 1, 1, 2, 2, 2, 2};
    for (std::size_t s = 0; s < 8; ++s) {
        const SectionRecord& record = sections.records[s];
        EXPECT_EQ(record.lineAzimuth, azimuths[s]) << s;
        EXPECT_EQ(record.lineFirstEnd.north, record.lineSecondEnd.north) << s;
        EXPECT_EQ(pointLines(record), std::vector<std::size_t>{points[s]}) << s;
        EXPECT_EQ(record.chainage.line, membershipLines[s]) << s;
        EXPECT_EQ(record.stakeElevation.text, "10") << s;
    }
    EXPECT_EQ(carried, 0.0);
}

std::string joinFailure(const Files& f);

TEST(SectionJoin, OneChainageGivesAtMostTenThousandSections) {
    // Labels that could not be read leave the stakes' chainages empty. Ten membership lines,
    // five stakes and two section lines of one chainage give 10³·5·2 sections, the most allowed.
    std::string members;
    for (int k = 0; k < 10; ++k) members += ",P\r\n";
    members += "1200,P\r\n";
    std::string stakes = "1200,,0,0,1\r\n";
    for (int k = 0; k < 5; ++k) stakes += ",,0,0,1\r\n";
    const std::string lines = ",0,0,1,0\r\n1200,0,0,1,0\r\n,0,0,1,0\r\n";
    double carried = 0;
    EXPECT_EQ(join(files(members, stakes, "P,,1,1,1\r\n", lines), carried).records.size(), 10001u);
    // A sixth stake is one too many; the step fails before a single section is built.
    EXPECT_EQ(joinFailure(files(members, stakes + ",,0,0\r\n", "P\r\n", lines)),
              "文件“members.dat”第 1 行，字段 0：桩号（空桩号）有本文件 10 行、中桩文件 6 行、断面线文件 2 行，将生成 "
              "10³×6×2 = 12000 个断面，超过每个桩号 10000 个的上限。可能是图上的里程标注未能识别：纯数字的里程标注需要选中"
              "“图上里程为数值”（命令行 --numeric-labels）");
    // A chainage with text, named at its first line: 22³ sections.
    std::string repeated = "1,P\r\n";
    for (int k = 0; k < 22; ++k) repeated += "1200,P\r\n";
    const std::string named = "文件“members.dat”第 2 行，字段 0：桩号“1200”有本文件 22 行、中桩文件 1 行、断面线文件 1 行，"
                              "将生成 22³×1×1 = 10648 个断面，";
    EXPECT_EQ(joinFailure(files(repeated, "1200,,0,0,1\r\n", "P,,1,1,1\r\n", "1200,0,0,1,0\r\n")).substr(0, named.size()),
              named);
    EXPECT_EQ(SectionsOfOneChainage(3000000, 1, 1), SIZE_MAX);
    EXPECT_EQ(SectionsOfOneChainage(2, 0, 7), 0u);
}

TEST(SectionJoin, StatusFollowsTheMembershipFileThroughJoinsAToC) {
    const Files f = files("1200,P\r\n1220,Q\r\n", "", "", "");
    double carried = 0;
    testing::RecordingProgress progress;
    const SectionJoin sections = JoinSectionRecords(f.inputs(), carried, progress);
    EXPECT_TRUE(sections.records.empty());
    EXPECT_EQ(progress.calls, (std::vector<std::string>{
                                  "advance 向变量添加中桩坐标： 1 1/2", "advance 向变量添加中桩坐标： 2 2/2",
                                  "advance 向变量添加方位角与距离值： 1 1/2", "advance 向变量添加方位角与距离值： 2 2/2",
                                  "advance 向变量添加归属断面点： 1 1/2", "advance 向变量添加归属断面点： 2 2/2"}));
}

std::string joinFailure(const Files& f) {
    try {
        double carried = 0;
        join(f, carried);
    } catch (const StepError& error) {
        return error.describe();
    }
    return "no failure";
}

TEST(SectionJoin, FieldsAreReadOnlyWhereAJoinReadsThem) {
    // A stake, a detail point no membership line asks for may lack fields; a section line is
    // measured for every membership line and may not.
    EXPECT_EQ(joinFailure(files("1200,P\r\n", "1000\r\n1200,,0,0,1\r\n", "Q\r\nP,,1,1,1\r\n", "1200,0,0,0,1\r\n")),
              "no failure");
    EXPECT_EQ(joinFailure(files("", "1000\r\n", "Q\r\n", "1200,0\r\n")), "no failure");
    EXPECT_EQ(joinFailure(files("1200,P\r\n", "1000,,0,0,1\r\n\r\n1200,,0,0\r\n", "P,,1,1,1\r\n", "1200,0,0,0,1\r\n")),
              "文件“stakes.dat”第 3 行，字段 4：缺少该字段（这一行只有 4 个字段）");
    EXPECT_EQ(joinFailure(files("9,P\r\n", "1200,,0,0,1\r\n", "P,,1,1,1\r\n", "1200,0,0,0,1\r\n1300,0,0,0\r\n")),
              "文件“lines.dat”第 2 行，字段 4：缺少该字段（这一行只有 4 个字段）");
    EXPECT_EQ(joinFailure(files("9,P\r\n", "", "", "1200,0,1e999,0,1\r\n")),
              "文件“lines.dat”第 1 行，字段 2：数值超出范围：“1e999”");
    // Ends farther apart than a double holds have no direction: the largest is named.
    EXPECT_EQ(joinFailure(files("9,P\r\n", "", "", "1200,0,-1.7e308,1,1.7e308\r\n")),
              "文件“lines.dat”第 1 行，字段 2：坐标数值过大：“-1.7e+308”，用它计算的结果超出了数值范围");
    EXPECT_EQ(joinFailure(files("9,Q,P\r\n", "", "P,,1,1,1\r\nQ,,1\r\n", "")),
              "文件“points.dat”第 2 行，字段 3：缺少该字段（这一行只有 3 个字段）");
    // Join A comes before join B: the stake is reported although the section line fails too.
    EXPECT_EQ(joinFailure(files("1200,P\r\n", "1200,,0\r\n", "P\r\n", "1200\r\n")),
              "文件“stakes.dat”第 1 行，字段 3：缺少该字段（这一行只有 3 个字段）");
}

}  // namespace
}  // namespace qorvel
