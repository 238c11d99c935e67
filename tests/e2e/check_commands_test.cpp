// The two checks and the two point commands through the real binary, on a small project with
// the faults surveyors meet: labels without a stake, a chainage typed twice, a label that is no
// station, stakes with no or two section lines, points near the ends and crossings of lines.

#include <gtest/gtest.h>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

// The reasons as the reports write them: GBK, like the lines they quote.
const std::string kMissingStake = "\xC8\xB1\xC9\xD9\xD6\xD0\xD7\xAE";                      // 缺少中桩
const std::string kRepeatedStake = "\xD6\xD0\xD7\xAE\xD6\xD8\xB8\xB4";                     // 中桩重复
const std::string kUnreadableLabel = "\xD7\xAE\xBA\xC5\xCE\xDE\xB7\xA8\xCA\xB6\xB1\xF0";  // 桩号无法识别
const std::string kMissingLine = "\xC8\xB1\xC9\xD9\xB6\xCF\xC3\xE6\xCF\xDF";             // 缺少断面线
const std::string kRepeatedLine = "\xB6\xCF\xC3\xE6\xCF\xDF\xD6\xD8\xB8\xB4";            // 断面线重复

TEST(CheckCommands, StakesAndSectionLinesOfAProjectWithFaults) {
    TempDir dir;
    // A route running east; each label sits 0.4504 m down and right of its stake. Nothing was
    // surveyed at K0+140; the label at 580 was typed K0+160 instead of K0+180; the last one
    // reads "2OO" with letters O.
    const std::string labels = dir.Write("labels.dat",
                                         "1,,500.250,299.625,0.000,K0+100\r\n"
                                         "2,,520.250,299.625,0.000,K0+120\r\n"
                                         "3,,540.250,299.625,0.000,K0+140\r\n"
                                         "4,,560.250,299.625,0.000,K0+160\r\n"
                                         "5,,580.250,299.625,0.000,K0+160\r\n"
                                         "6,,600.250,299.625,0.000,K0+2OO\r\n");
    const std::string points = dir.Write("points.dat",
                                         "1,,500,300,10.5\r\n"
                                         "2,,520,300,10.6\r\n"
                                         "3,,560,300,10.8\r\n"
                                         "4,,580,300,10.9\r\n"
                                         "5,,600,300,11\r\n");
    auto run = RunQorvel({"stakes", labels, points, "-o", dir.File("stakes.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(ReadFile(dir.File("stakes.dat")),
              "100,,500.000,300.000,10.500\r\n"
              "120,,520.000,300.000,10.600\r\n"
              "160,,560.000,300.000,10.800\r\n"
              "160,,580.000,300.000,10.900\r\n"
              ",,600.000,300.000,11.000\r\n");

    run = RunQorvel({"check-stakes", labels, dir.File("stakes.dat"), "-o", dir.File("stake-report.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共检查桩号文字 6 个，有问题的 4 个！\n");
    EXPECT_EQ(ReadFile(dir.File("stake-report.dat")),
              kMissingStake + ",3,,540.250,299.625,0.000,K0+140\r\n" +
              kRepeatedStake + ",4,,560.250,299.625,0.000,K0+160\r\n" +
              kRepeatedStake + ",5,,580.250,299.625,0.000,K0+160\r\n" +
              kUnreadableLabel + ",6,,600.250,299.625,0.000,K0+2OO\r\n");

    // The section line at K0+100 was drawn twice, 5 mm apart; K0+120 and the unreadable
    // station have none.
    const std::string lines = dir.Write("lines.dat",
                                        "1,500,280,500,320\r\n"
                                        "2,500.005,280,500.005,320\r\n"
                                        "3,560,320,560,280\r\n"
                                        "4,580,280,580,320\r\n");
    run = RunQorvel({"match", dir.File("stakes.dat"), lines, "-o", dir.File("matched.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.out, "本次桩号共匹配断面线：4 条！\n");

    run = RunQorvel({"check-lines", dir.File("stakes.dat"), dir.File("matched.dat"), "-o", dir.File("line-report.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共检查中桩 5 个，缺少断面线 2 个，断面线重复 3 个！\n");
    EXPECT_EQ(ReadFile(dir.File("line-report.dat")),
              kRepeatedLine + ",100,,500.000,300.000,10.500\r\n" +
              kMissingLine + ",120,,520.000,300.000,10.600\r\n" +
              kRepeatedLine + ",160,,560.000,300.000,10.800\r\n" +
              kRepeatedLine + ",160,,580.000,300.000,10.900\r\n" +
              kMissingLine + ",,,600.000,300.000,11.000\r\n");
}

class PointCommands : public ::testing::Test {
protected:
    TempDir dir;
    // Two section lines crossing at (200, 200) and a diagonal one further on.
    std::string matched = dir.Write("matched.dat",
                                    "1200,180,200,220,200\r\n"
                                    "1220,200,180,200,220\r\n"
                                    "1240,300,315,310,325\r\n");
    std::string points = dir.Write("points.dat",
                                   "1,,190,200.004,10.1\r\n"          // 4 mm beside the middle of 1200
                                   "2,TR,210,199.993,10.2\r\n"        // 7 mm: its code is replaced
                                   "3,,220.006,200.006,10.3\r\n"      // past the end of 1200, 8.5 mm from it
                                   "4,,220.02,200,10.4\r\n"           // on the extension, 20 mm past the end
                                   "5,,200.003,200.004,10.5\r\n"      // at the crossing, nearer to 1220
                                   "6,,200.004,200.004,10.6\r\n"      // as near to both: the first wins
                                   "7,,200,220.009,10.7\r\n"          // 9 mm past the end of 1220
                                   "8,,205,205,10.8\r\n"              // on no line
                                   "9,,305.02,319.98,11.0\r\n"        // 28 mm off 1240
                                   "10,,307.005,321.995,11.1\r\n"     // 7 mm off 1240
                                   "11,,320.004,334.996,11.2\r\n");   // on the extension of 1240
};

TEST_F(PointCommands, CodesGoToPointsOnTheSegments) {
    auto run = RunQorvel({"add-codes", matched, points, "-o", dir.File("coded.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共有 7 个碎步点添加了桩号代码！\n");
    EXPECT_EQ(ReadFile(dir.File("coded.dat")),
              "1,1200,190,200.004,10.1\r\n"
              "2,1200,210,199.993,10.2\r\n"
              "3,1200,220.006,200.006,10.3\r\n"
              "4,,220.02,200,10.4\r\n"
              "5,1220,200.003,200.004,10.5\r\n"
              "6,1200,200.004,200.004,10.6\r\n"
              "7,1220,200,220.009,10.7\r\n"
              "8,,205,205,10.8\r\n"
              "9,,305.02,319.98,11.0\r\n"
              "10,1240,307.005,321.995,11.1\r\n"
              "11,,320.004,334.996,11.2\r\n");

    // A tighter tolerance keeps only the points within 5 mm.
    run = RunQorvel({"add-codes", matched, points, "-o", dir.File("coded.dat"), "--tolerance", "0.005"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共有 3 个碎步点添加了桩号代码！\n");
    EXPECT_EQ(ReadFile(dir.File("coded.dat")),
              "1,1200,190,200.004,10.1\r\n"
              "2,TR,210,199.993,10.2\r\n"
              "3,,220.006,200.006,10.3\r\n"
              "4,,220.02,200,10.4\r\n"
              "5,1220,200.003,200.004,10.5\r\n"
              "6,1200,200.004,200.004,10.6\r\n"
              "7,,200,220.009,10.7\r\n"
              "8,,205,205,10.8\r\n"
              "9,,305.02,319.98,11.0\r\n"
              "10,,307.005,321.995,11.1\r\n"
              "11,,320.004,334.996,11.2\r\n");
}

TEST_F(PointCommands, MembersAreMovedOntoTheirLines) {
    auto run = RunQorvel({"project-points", matched, points, "-o", dir.File("moved.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共计算横断面线上的点 12 个！\n");
    EXPECT_EQ(ReadFile(dir.File("moved.dat")),
              "1,1200,190.000,200.000,10.1\r\n"
              "2,1200,210.000,200.000,10.2\r\n"
              "3,1200,220.006,200.000,10.3\r\n"
              "4,1200,220.020,200.000,10.4\r\n"
              "5,1200,200.003,200.000,10.5\r\n"
              "6,1200,200.004,200.000,10.6\r\n"
              "5,1220,200.000,200.004,10.5\r\n"
              "6,1220,200.000,200.004,10.6\r\n"
              "7,1220,200.000,220.009,10.7\r\n"
              "9,1240,305.000,320.000,11.0\r\n"
              "10,1240,307.000,322.000,11.1\r\n"
              "11,1240,320.000,335.000,11.2\r\n");

    run = RunQorvel({"project-points", matched, points, "-o", dir.File("moved.dat"), "--tolerance", "0.005"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "共计算横断面线上的点 7 个！\n");
}

TEST_F(PointCommands, BadInputFailsAndLeavesTheOutputAlone) {
    const std::string output = dir.Write("out.dat", "keep me");
    const auto expectFailure = [&](const std::vector<std::string>& arguments, const std::string& message) {
        const auto run = RunQorvel(arguments);
        EXPECT_EQ(run.exitCode, 1) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "错误：" + message + "\n");
        EXPECT_EQ(ReadFile(output), "keep me");
    };
    const std::string noText = dir.Write("labels.dat", "1,,100,200,0,K1+200\r\n2,,120,200,0\r\n");
    expectFailure({"check-stakes", noText, dir.Write("stakes.dat", "1200,,1,1,1\r\n"), "-o", output},
                  "文件“" + noText + "”第 2 行，字段 5：缺少该字段（这一行只有 5 个字段）");

    const std::string bareName = dir.Write("bare.dat", "1,,190,200.004,10.1\r\n\r\n2\r\n");
    expectFailure({"add-codes", matched, bareName, "-o", output},
                  "文件“" + bareName + "”第 3 行，字段 2：缺少该字段（这一行只有 1 个字段）");
    const std::string huge = dir.Write("huge.dat", "1,,1e999,200,10.1\r\n");
    expectFailure({"add-codes", matched, huge, "-o", output}, "文件“" + huge + "”第 1 行，字段 2：数值超出范围：“1e999”");

    // An elevation is needed only by a point that is written: 8 lies on no line.
    const std::string noElevation = dir.Write("noelev.dat", "8,,205,205\r\n1,,190,200.004\r\n");
    expectFailure({"project-points", matched, noElevation, "-o", output},
                  "文件“" + noElevation + "”第 2 行，字段 4：缺少该字段（这一行只有 4 个字段）");

    EXPECT_EQ(RunQorvel({"add-codes", matched, points, "-o", dir.File("x.dat"), "--tolerance", "1cm"}).exitCode, 2);
    EXPECT_FALSE(FileExists(dir.File("x.dat")));
}

}  // namespace
}  // namespace qorvel::testing
