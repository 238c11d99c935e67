// Step 10 through the real binary: the cross-section result file in its five layouts.

#include <gtest/gtest.h>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

// One section 1100 on a section line running east through its stake at (500, 300). Points west
// of the stake lie on the first end's side, points east of it on the second end's side, at the
// distances and elevations of the example the layouts are documented with:
// first side (3.25, 52.1), (7.8, 51.75), (12.4, 50.9); second side (4.1, 52.45), (9.6, 53.2).
// The stake's own shot S, a point X north of the stake (across the line) and a name N that no
// detail point has belong to no side; the detail point file is not in distance order.
class SectionCommand : public ::testing::Test {
protected:
    TempDir dir;
    std::string members = dir.Write("members.dat", "1100,S,P1,P2,P3,P4,P5,X,N\r\n");
    std::string stakes = dir.Write("stakes.dat", "1100,,500.000,300.000,52.300\r\n");
    std::string points = dir.Write("points.dat",
                                   "P2,,492.2,300,51.75\r\n"
                                   "P4,,504.1,300,52.45\r\n"
                                   "S,,500,300,52.3\r\n"
                                   "P1,,496.75,300,52.1\r\n"
                                   "P5,,509.6,300,53.2\r\n"
                                   "X,,500,305,52.9\r\n"
                                   "P3,,487.6,300,50.9\r\n");
    std::string matched = dir.Write("matched.dat", "1100,480,300,520,300\r\n");

    ProcessResult Sections(const std::vector<std::string>& options, const std::string& output) {
        std::vector<std::string> arguments{"sections", members, stakes, points, matched, "-o", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunQorvel(arguments);
    }
    // Runs with `options` and gives the result file, checking the step completed.
    std::string Result(const std::vector<std::string>& options) {
        const std::string output = dir.File("result.dat");
        const ProcessResult run = Sections(options, output);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "共有断面数：1 条。\n");
        return ReadFile(output);
    }
    // Runs with `options` on a result file that already exists; gives stderr after checking the
    // exit code and that the file kept its content.
    std::string Failure(const std::vector<std::string>& options, int exitCode) {
        const std::string output = dir.Write("kept.dat", "an earlier result\r\n");
        const ProcessResult run = Sections(options, output);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadFile(output), "an earlier result\r\n");
        return run.err;
    }
};

TEST_F(SectionCommand, TheWorkedExampleInEveryLayout) {
    EXPECT_EQ(Result({}), "1100\r\n3.25 52.10 7.80 51.75 12.40 50.90\r\n4.10 52.45 9.60 53.20\r\n");
    EXPECT_EQ(Result({"--format", "1"}), "1100\r\n3.25 52.10 7.80 51.75 12.40 50.90\r\n4.10 52.45 9.60 53.20\r\n");
    EXPECT_EQ(Result({"--format", "1", "--swap-sides"}),
              "1100\r\n4.10 52.45 9.60 53.20\r\n3.25 52.10 7.80 51.75 12.40 50.90\r\n");
    EXPECT_EQ(Result({"--format", "1", "--station-text", "--blank-line"}),
              " \r\nK1+100\r\n3.25 52.10 7.80 51.75 12.40 50.90\r\n4.10 52.45 9.60 53.20\r\n");
    EXPECT_EQ(Result({"--format", "2"}), "1100 52.300 3.25 52.10 7.80 51.75 12.40 50.90 4.10 52.45 9.60 53.20\r\n");
    EXPECT_EQ(Result({"--format", "2", "--swap-sides"}),
              "1100 52.300 4.10 52.45 9.60 53.20 3.25 52.10 7.80 51.75 12.40 50.90\r\n");
    EXPECT_EQ(Result({"--format", "3"}), "1100 52.300 3.25 -0.20 7.80 -0.55 12.40 -1.40 4.10 0.15 9.60 0.90\r\n");
    EXPECT_EQ(Result({"--format", "3", "--negate-heights"}),
              "1100 52.300 3.25 0.20 7.80 0.55 12.40 1.40 4.10 -0.15 9.60 -0.90\r\n");
    EXPECT_EQ(Result({"--format", "4"}), "1100\r\n3.25 -0.20 7.80 -0.55 12.40 -1.40\r\n4.10 0.15 9.60 0.90\r\n");
    EXPECT_EQ(Result({"--format", "5"}), "1100\r\n3.25 -0.20 4.55 -0.35 4.60 -0.85\r\n4.10 0.15 5.50 0.75\r\n");
    EXPECT_EQ(Result({"--format", "5", "--swap-sides"}),
              "1100\r\n4.10 0.15 5.50 0.75\r\n3.25 -0.20 4.55 -0.35 4.60 -0.85\r\n");
}

TEST_F(SectionCommand, AvoidDistanceAroundTheStake) {
    EXPECT_EQ(Result({"--avoid", "5"}), "1100\r\n7.80 51.75 12.40 50.90\r\n9.60 53.20\r\n");
    // Below 0 the stake's own shot comes in. Coinciding with the stake it has no direction of
    // its own and takes the azimuth of the measurement before it: for the first side the
    // section line's (90, its side), for the second side X's (180, neither side).
    EXPECT_EQ(Result({"--avoid", "-1", "--format", "2"}),
              "1100 52.300 0.00 52.30 3.25 52.10 7.80 51.75 12.40 50.90 4.10 52.45 9.60 53.20\r\n");
}

TEST_F(SectionCommand, NamesAndChainagesThatMatchNothing) {
    // Names found nowhere give a section with both sides empty; a chainage without a centre
    // stake gives no section. The count is of the section lines read.
    members = dir.Write("members.dat", "1100,N1,N2\r\n1120,P1\r\n");
    matched = dir.Write("matched.dat", "1100,480,300,520,300\r\n1120,480,320,520,320\r\n1140,0,0,0,1\r\n");
    const std::string output = dir.Write("result.dat", "an earlier result\r\n");
    ProcessResult run = Sections({}, output);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共有断面数：3 条。\n");
    EXPECT_EQ(ReadFile(output), "1100\r\n\r\n\r\n");

    // No common chainage at all: an empty result, and the step still completes.
    members = dir.Write("members.dat", "1300,P1\r\n");
    run = Sections({"--format", "2"}, output);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共有断面数：3 条。\n");
    EXPECT_EQ(ReadFile(output), "");
}

TEST_F(SectionCommand, StakeCoordinatesMustBeNumbers) {
    stakes = dir.Write("stakes.dat", "1000,,x,y,z\r\n1100,,500.000,3OO.000,52.300\r\n");
    EXPECT_EQ(Failure({}, 1), "错误：文件“" + stakes + "”第 2 行，字段 3：不是数字：“3OO.000”\n");
}

// A stake 1e200 m north: its distance to the points of its section is beyond a double. Every
// command that measures it fails naming the northing; none reports an internal error.
TEST_F(SectionCommand, ACoordinateWhoseDistanceOverflowsIsNamed) {
    members = dir.Write("members.dat", "1100,P1\r\n1120,P4\r\n");
    stakes = dir.Write("stakes.dat", "1100,,500.000,300.000,52.300\r\n1120,,500,1e200,52.3\r\n");
    matched = dir.Write("matched.dat", "1100,480,300,520,300\r\n1120,480,300,520,300\r\n");
    const std::string named = "错误：文件“" + stakes + "”第 2 行，字段 3：坐标数值过大：“1e200”，用它计算的结果超出了数值范围\n";
    EXPECT_EQ(Failure({"--format", "landxml"}, 1), named);
    for (const std::string command : {"check-sections", "plot"}) {
        const std::string output = dir.Write(command == "plot" ? "sheets.svg" : "problems.dat", "an earlier result");
        const ProcessResult run = RunQorvel({command, members, stakes, points, matched, "-o", output});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, named) << command;
        EXPECT_EQ(ReadFile(output), "an earlier result");
    }
}

TEST_F(SectionCommand, StationTextNeedsANumericChainage) {
    members = dir.Write("members.dat", "\r\nK1+100,P1,P4\r\n");
    stakes = dir.Write("stakes.dat", "K1+100,,500.000,300.000,52.300\r\n");
    matched = dir.Write("matched.dat", "K1+100,480,300,520,300\r\n");
    EXPECT_EQ(Result({}), "K1+100\r\n3.25 52.10\r\n4.10 52.45\r\n");  // joined as text, written as read
    EXPECT_EQ(Failure({"--station-text"}, 1),
              "错误：文件“" + members + "”第 2 行，字段 0：桩号不是数字，不能转换为字符型桩号：“K1+100”\n");
}

TEST_F(SectionCommand, MissingFields) {
    const std::string allMembers = members;
    matched = dir.Write("matched.dat", "1100,480,300,520\r\n");
    EXPECT_EQ(Failure({}, 1), "错误：文件“" + matched + "”第 1 行，字段 4：缺少该字段（这一行只有 4 个字段）\n");
    matched = dir.Write("matched.dat", "1100,480,300,520,300\r\n");

    points = dir.Write("points.dat", "P1,,496.75,300,52.1\r\nP4,,504.1,300\r\n");
    EXPECT_EQ(Failure({}, 1), "错误：文件“" + points + "”第 2 行，字段 4：缺少该字段（这一行只有 4 个字段）\n");
    // Only the points a member name finds are read beyond their name.
    members = dir.Write("members.dat", "1100,P1\r\n");
    EXPECT_EQ(Result({}), "1100\r\n3.25 52.10\r\n\r\n");

    stakes = dir.Write("stakes.dat", "1100,,500.000,300.000\r\n");
    EXPECT_EQ(Failure({}, 1), "错误：文件“" + stakes + "”第 1 行，字段 4：缺少该字段（这一行只有 4 个字段）\n");
}

TEST_F(SectionCommand, UsageErrors) {
    for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
             {"--format", "6"}, {"--format", "0"}, {"--format", "1.0"}, {"--format", "格式 1"},
             {"--avoid", "0.08m"}, {"--avoid", ""}, {"--swap-sides=maybe"}}) {
        EXPECT_NE(Failure(options, 2), "") << options[0];
    }
    // The layouts whose sides follow the route refuse to have them mirrored or drawn.
    EXPECT_EQ(Failure({"--format", "hdm", "--swap-sides"}, 2),
              "“幅别颠倒生成”不适用于成果格式“纬地 HDM”：它的左右总是按路线前进方向区分，颠倒后左右就反了\n");
    EXPECT_EQ(Failure({"--format", "landxml", "--sides", "drawn"}, 2),
              "“--sides drawn”不适用于成果格式“LandXML”：它的左右总是按路线前进方向区分\n");
    // One stake gives the route no direction: the section's left cannot be told.
    EXPECT_EQ(Failure({"--format", "hdm"}, 1),
              "错误：文件“" + members + "”第 1 行，字段 0：按路线前进方向无法确定桩号“1100”的断面哪侧在左：断面线与路线平行或长度为 0，"
              "或中桩文件在此处定不出路线方向\n");
    // Three inputs instead of four.
    const std::string output = dir.Write("kept.dat", "an earlier result\r\n");
    EXPECT_EQ(RunQorvel({"sections", members, stakes, points, "-o", output}).exitCode, 2);
    EXPECT_EQ(ReadFile(output), "an earlier result\r\n");
}

TEST_F(SectionCommand, SheetOptionsOutOfRangeAreUsageErrors) {
    const std::string output = dir.Write("kept.svg", "earlier sheets");
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--scale", "1:0.5"}, {"--scale", "1:1e6"}, {"--exaggeration", "101"},
          {"--exaggeration", "0.05"}}) {
        std::vector<std::string> arguments{"plot", members, stakes, points, matched, "-o", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const ProcessResult run = RunQorvel(arguments);
        EXPECT_EQ(run.exitCode, 2) << options[1];
        EXPECT_NE(run.err.find(options[1]), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(output), "earlier sheets");
    const ProcessResult within = RunQorvel({"plot", members, stakes, points, matched, "-o", dir.File("s.svg"), "--scale",
                                            "1:100000", "--exaggeration", "100"});
    EXPECT_EQ(within.exitCode, 0) << within.err;
}

TEST_F(SectionCommand, GroundProfileByTheOutputsExtension) {
    const std::string output = dir.File("profile.dmx");
    ProcessResult run = RunQorvel({"profile", stakes, "-o", output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "纵断面地面线：共有中桩 1 个。\n");
    EXPECT_EQ(ReadFile(output), "HINTCAD5.83_DMX_SHUJU\r\n    1100.000\t 52.300000\r\n");
    run = RunQorvel({"profile", stakes, "-o", dir.File("profile.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(FileExists(dir.File("profile.txt")));
}

// 格式转换 binds the file to convert, the layouts and the centre stakes it needs for LandXML.
TEST_F(SectionCommand, ConvertBetweenLayouts) {
    const std::string begin = Result({"--format", "begin"});
    const std::string input = dir.Write("begin.dat", begin);
    const std::string output = dir.File("sections.csv");
    ProcessResult run = RunQorvel({"convert", input, "-o", output, "--to", "csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共转换断面 1 个：BEGIN 块 → CSV 表。\n");
    EXPECT_EQ(ReadFile(output).substr(0, 3), "\xEF\xBB\xBF");  // the table's byte order mark

    const std::string landxml = dir.Write("sections.xml", "an earlier result");
    run = RunQorvel({"convert", input, "-o", landxml, "--to", "landxml"});
    EXPECT_EQ(run.exitCode, 1);  // its alignment needs the centre stakes
    EXPECT_EQ(ReadFile(landxml), "an earlier result");
    EXPECT_EQ(RunQorvel({"convert", input, "-o", landxml, "--to", "landxml", "--stakes", stakes}).exitCode, 0);
    EXPECT_EQ(RunQorvel({"convert", input, "-o", output}).exitCode, 2);  // no --to
}

}  // namespace
}  // namespace qorvel::testing
