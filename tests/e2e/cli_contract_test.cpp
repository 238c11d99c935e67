// The command-line contract: exit codes, the one summary line on stdout, errors on stderr, and
// an output file that is either complete or untouched.

#include <gtest/gtest.h>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

class CliContract : public ::testing::Test {
protected:
    TempDir dir;
    std::string labels = dir.Write("labels.dat", "1,,1000.000,2000.000,0.000,K1+200\r\n");
    std::string points = dir.Write("points.dat", "1,,999.750,2000.375,12.3\r\n");
};

TEST_F(CliContract, CompletedStepPrintsItsSummaryLine) {
    const auto run = RunQorvel({"stakes", labels, points, "-o", dir.File("stakes.dat")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "本次共合成中桩坐标个数 1 个！\n");
    EXPECT_EQ(run.err, "");  // no progress when stderr is not a terminal
    EXPECT_EQ(ReadFile(dir.File("stakes.dat")), "1200,,999.750,2000.375,12.300\r\n");
}

TEST_F(CliContract, FailedStepLeavesTheOutputUntouched) {
    const std::string output = dir.Write("stakes.dat", "keep me");
    const std::string bad = dir.Write("bad.dat", "1,,1000.000,2000.000,0.000,K1+200\r\n2,,1x,2,0,K1+220\r\n");
    const auto run = RunQorvel({"stakes", bad, points, "-o", output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "错误：文件“" + bad + "”第 2 行，字段 2：不是数字：“1x”\n");
    EXPECT_EQ(ReadFile(output), "keep me");
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"bad.dat", "labels.dat", "points.dat", "stakes.dat"}));
}

TEST_F(CliContract, UnreadableInputsAndUnwritableOutputs) {
    const auto missing = RunQorvel({"stakes", dir.File("nope.dat"), points, "-o", dir.File("out.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "错误：文件“" + dir.File("nope.dat") + "”：文件不存在\n");

    const auto folder = RunQorvel({"stakes", dir.path(), points, "-o", dir.File("out.dat")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_NE(folder.err.find("这是一个文件夹，不是文件"), std::string::npos);

    const auto noFolder = RunQorvel({"stakes", labels, points, "-o", dir.File("no/out.dat")});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.err.find("保存位置的文件夹不存在"), std::string::npos);

    const auto toFolder = RunQorvel({"stakes", labels, points, "-o", dir.path()});
    EXPECT_EQ(toFolder.exitCode, 1);
    EXPECT_FALSE(FileExists(dir.File("out.dat")));
}

TEST_F(CliContract, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunQorvel({}).exitCode, 2);
    EXPECT_EQ(RunQorvel({"stakes", labels, points}).exitCode, 2);  // no -o
    EXPECT_EQ(RunQorvel({"stakes", labels, "-o", dir.File("o.dat")}).exitCode, 2);
    EXPECT_EQ(RunQorvel({"stakes", labels, points, "-o", dir.File("o.dat"), "--tolerance", "0.05m"}).exitCode, 2);
    EXPECT_EQ(RunQorvel({"Stakes", labels, points, "-o", dir.File("o.dat")}).exitCode, 2);
    EXPECT_FALSE(FileExists(dir.File("o.dat")));
    const auto help = RunQorvel({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("stakes"), std::string::npos);
}

}  // namespace
}  // namespace qorvel::testing
