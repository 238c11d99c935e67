#include "checks/section_check.h"

#include <string>

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "core/text_encoding.h"

namespace qorvel {
namespace {

// A route due east (north of it is left), a station every 20 m from 1000 to 1120, then 1140 at
// 40 m, and a section whose chainage is no number. Section lines run north to south (left to
// right) unless said otherwise.
struct MadeUpRoute {
    DataFile members = DataFile::FromBytes("members.dat",
                                           "1000,A1,A2,A3,A4\r\n1020,B1,B2\r\n1040,C1,C2\r\n1060,D1,D2\r\n"
                                           "1080,E1,E2,E3,E4\r\n1100,nobody\r\nK1+200,K1\r\n");
    DataFile stakes = DataFile::FromBytes("stakes.dat",
                                          "1000,,0,0,50\r\n1020,,20,0,50\r\n1040,,40,0,50\r\n1060,,60,0,50\r\n"
                                          "1080,,80,0,50\r\n1100,,100,0,50\r\n1120,,120,0,50\r\n1140,,160,0,50\r\n"
                                          "K1+200,,200,0,50\r\n");
    DataFile points = DataFile::FromBytes(
        "points.dat",
        "A1,,0,5,50.5\r\nA2,,0,10,51\r\nA3,,0,-5,49.5\r\nA4,,0,-10,49\r\n"
        "B1,,20,5,50.5\r\nB2,,20,-5,49.5\r\n"
        "C1,,36,6,50.5\r\nC2,,44,-6,49.5\r\n"
        "D1,,60,-5,49.5\r\nD2,,60,-40,49\r\n"        // nothing left, 35 m between the right side's points
        "E1,,80,5,50.2\r\nE2,,80,10,53\r\nE3,,80,15,50.3\r\nE4,,80,-5,49.8\r\n"  // 53 stands out on the left
        "K1,,200,5,50\r\n");
    DataFile lines = DataFile::FromBytes("matched.dat",
                                         "1000,0,15,0,-15\r\n"
                                         "1020,20,-15,20,15\r\n"   // drawn from right to left
                                         "1040,30,15,50,-15\r\n"   // 56.3 degrees from the route
                                         "1060,60,15,60,-15\r\n1080,80,15,80,-15\r\n1100,100,15,100,-15\r\n"
                                         "1120,95,10,125,-10\r\n"  // across the line of 1100
                                         "K1+200,200,15,200,-15\r\n");
    SectionInputs inputs() const { return {members, stakes, points, lines}; }
};

SectionCheckResult check(const MadeUpRoute& route, const SectionCheckOptions& options) {
    double carried = 0;
    NullProgress progress;
    return CheckSections(route.inputs(), options, carried, progress);
}

TEST(SectionCheck, EveryReasonOnOneRoute) {
    const MadeUpRoute route;
    const SectionCheckResult result = check(route, {});
    const std::string expected =
        "断面线反向,1020\r\n"
        "断面线斜交,1040,56.3\r\n"
        "左侧无点,1060\r\n"
        "点距过大,1060,右,5.00,40.00\r\n"
        "高程突变,1080,左,10.00,53.00\r\n"
        "两侧无点,1100\r\n"
        "断面线方向无法确定,K1+200\r\n"
        "第二侧无点,K1+200\r\n"
        "断面线相交,1100,1120\r\n"
        "桩号与位置不符,1120,1140,40.000,20.000\r\n";
    EXPECT_EQ(result.output.bytes(), *Utf8ToGbk(expected));
    EXPECT_EQ(result.output.lineCount(), 10u);
    EXPECT_EQ(SectionCheckSummary(result), "共检查断面 7 个，发现问题 10 处！");

    // The same problems as records, each with its section; the pairs' with none.
    ASSERT_EQ(result.problems.size(), 10u);
    const SectionProblem& gap = result.problems[3];
    EXPECT_EQ(gap.reason, SectionProblemReason::PointGap);
    EXPECT_EQ(gap.chainage, "1060");
    EXPECT_EQ(gap.section, 3u);
    EXPECT_EQ(gap.side, ProblemSide::Right);
    EXPECT_EQ(gap.values, (std::vector<std::string>{"5.00", "40.00"}));
    EXPECT_EQ(result.problems[7].section, 6u);
    const SectionProblem& apart = result.problems[9];
    EXPECT_EQ(apart.section, SectionProblem::kNoSection);
    EXPECT_EQ(apart.nextChainage, "1140");

    // Whatever side rule step 10 is given.
    SectionCheckOptions byRoute;
    byRoute.sections.sides = SideRule::Route;
    EXPECT_EQ(check(route, byRoute).output.bytes(), result.output.bytes());
}

TEST(SectionCheck, LimitsAreExceededNotReached) {
    // The spike stands 2.8 m and 2.7 m above its neighbours (both must exceed H), the gap is
    // 35 m, the line 33.7 degrees from square.
    const MadeUpRoute route;
    SectionCheckOptions options;
    options.spikeHeight = 2.75;
    options.gapDistance = 35;
    options.skewAngle = 33.7;
    const std::string report = GbkToUtf8Lossy(check(route, options).output.bytes());
    EXPECT_EQ(report.find("高程突变"), std::string::npos) << report;
    EXPECT_EQ(report.find("点距过大"), std::string::npos) << report;
    EXPECT_EQ(report.find("斜交"), std::string::npos) << report;
    options.spikeHeight = 2.65;
    options.gapDistance = 34.9;
    options.skewAngle = 33.6;
    EXPECT_EQ(check(route, options).problems.size(), 10u);
}

TEST(SectionCheck, SidesAreNamedFirstAndSecondWhereTheRouteCannotDecide) {
    // One station: no direction anywhere. A pit on the first side, a gap on the second.
    const DataFile members = DataFile::FromBytes("members.dat", "1000,P,Q,R,S\r\n");
    const DataFile stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\n");
    const DataFile points = DataFile::FromBytes("points.dat", "P,,0,5,47\r\nQ,,0,10,50\r\nR,,0,-2,50\r\nS,,0,-40,50\r\n");
    const DataFile lines = DataFile::FromBytes("matched.dat", "1000,0,15,0,-15\r\n");
    double carried = 0;
    NullProgress progress;
    const SectionCheckResult result = CheckSections({members, stakes, points, lines}, {}, carried, progress);
    EXPECT_EQ(GbkToUtf8Lossy(result.output.bytes()),
              "断面线方向无法确定,1000\r\n高程突变,1000,第一侧,5.00,47.00\r\n点距过大,1000,第二侧,2.00,40.00\r\n");
}

TEST(SectionCheck, LinesThatTouchMeet) {
    // Two stations 20 m apart and no section: only the pair is checked. The line of 1000 runs
    // from (0, 15) to (0, -15); that of 1020 as given.
    const std::pair<const char*, bool> cases[] = {
        {"20,15,20,-15", false},  // parallel
        {"0,15,20,-15", true},    // from the other's end
        {"20,0,0,0", true},       // ends on the other's middle
        {"0,-15,0,-40", true},    // on one line, end to end
        {"0,-15.001,0,-40", false},
        {"0,3,0,3", true},        // of no length, on the other
        {"-1,-17,1,-15.5", false},  // past its end
    };
    for (const auto& [line, meet] : cases) {
        const DataFile members = DataFile::FromBytes("members.dat", "");
        const DataFile stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\n1020,,20,0,50\r\n");
        const DataFile points = DataFile::FromBytes("points.dat", "");
        const DataFile lines = DataFile::FromBytes("matched.dat", "1000,0,15,0,-15\r\n1020," + std::string(line) + "\r\n");
        double carried = 0;
        NullProgress progress;
        const SectionCheckResult result = CheckSections({members, stakes, points, lines}, {}, carried, progress);
        EXPECT_EQ(result.output.bytes(), meet ? *Utf8ToGbk("断面线相交,1000,1020\r\n") : "") << line;
    }
}

// Coordinates and chainages whose computations overflow a double fail the check, naming the
// value that carried them there, rather than writing an infinite distance or deciding by a
// direction that is no number.
TEST(SectionCheck, ComputationsBeyondADoubleNameTheirValue) {
    const auto failure = [](std::string members, std::string stakes, std::string lines) {
        const DataFile memberFile = DataFile::FromBytes("members.dat", std::move(members));
        const DataFile stakeFile = DataFile::FromBytes("stakes.dat", std::move(stakes));
        const DataFile points = DataFile::FromBytes("points.dat", "A,,0,5,50\r\n");
        const DataFile lineFile = DataFile::FromBytes("matched.dat", std::move(lines));
        double carried = 0;
        NullProgress progress;
        try {
            CheckSections({memberFile, stakeFile, points, lineFile}, {}, carried, progress);
        } catch (const StepError& error) {
            return error.describe();
        }
        return std::string("no failure");
    };
    const std::string farStake = "文件“stakes.dat”第 2 行，字段 2：坐标数值过大：“1e200”，用它计算的结果超出了数值范围";
    // The distance between two stakes, and the route's direction measured against a section line.
    EXPECT_EQ(failure("", "1000,,0,0,50\r\n1020,,1e200,0,50\r\n", ""), farStake);
    EXPECT_EQ(failure("1000,A\r\n", "1000,,0,0,50\r\n1020,,1e200,0,50\r\n", "1000,0,15,0,-15\r\n"), farStake);
    // The difference of two chainages.
    EXPECT_EQ(failure("", "-1e308,,0,0,50\r\n1.5e308,,1,0,50\r\n", ""),
              "文件“stakes.dat”第 2 行，字段 0：桩号数值过大：“1.5e308”，用它计算的结果超出了数值范围");
    // Two section lines whose crossing cannot be told.
    EXPECT_EQ(failure("", "1000,,0,0,50\r\n1020,,20,0,50\r\n", "1000,0,1e200,0,-1e200\r\n1020,1e200,0,-2e200,0\r\n"),
              "文件“matched.dat”第 2 行，字段 3：坐标数值过大：“-2e+200”，用它计算的结果超出了数值范围");
}

}  // namespace
}  // namespace qorvel
