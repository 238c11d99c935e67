// Steps 3, 6 and 9 through the real binary, on files as surveyors have them.

#include <gtest/gtest.h>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

TEST(AssemblyCommands, ThePipelineFromLabelsToMembers) {
    TempDir dir;
    // Two stations 20 m apart on a route running east; each label sits 0.4504 m from its stake.
    const std::string labels = dir.Write("labels.dat",
                                         "1,,500.250,299.625,0.000,K0+100\r\n"
                                         "2,,520.250,299.625,0.000,K0+120\r\n"
                                         "3,,540.250,299.625,0.000,K0+140\r\n");  // no stake surveyed here
    const std::string points = dir.Write("points.dat",
                                         "1,,500,300,10.5\r\n"
                                         "2,,500,305,10.9\r\n"
                                         "3,,500.03,295,10.1\r\n"
                                         "4,,520,300,10.6\r\n"
                                         "5,,520.01,290,10.2\r\n");
    auto run = RunQorvel({"stakes", labels, points, "-o", dir.File("stakes.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "本次共合成中桩坐标个数 2 个！\n");
    EXPECT_EQ(ReadFile(dir.File("stakes.dat")), "100,,500.000,300.000,10.500\r\n120,,520.000,300.000,10.600\r\n");
    EXPECT_EQ(run.err, "");
    // The two files the other way round: the step completes as it would, then says what is likely wrong.
    run = RunQorvel({"stakes", points, labels, "-o", dir.File("swapped.dat")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "本次共合成中桩坐标个数 0 个！\n");
    EXPECT_TRUE(run.err.starts_with("注意：没有一个桩号文字在允许偏差内找到中桩点：")) << run.err;

    const std::string lines = dir.Write("lines.dat", "1,500,280,500,320\r\n2,520,320,520,280\r\n");
    run = RunQorvel({"match", dir.File("stakes.dat"), lines, "-o", dir.File("matched.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "本次桩号共匹配断面线：2 条！\n");
    EXPECT_EQ(ReadFile(dir.File("matched.dat")), "100,500,280,500,320\r\n120,520,320,520,280\r\n");

    run = RunQorvel({"group", dir.File("matched.dat"), points, "-o", dir.File("members.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "本次完成添加归属点号的桩号有2个！\n");
    EXPECT_EQ(ReadFile(dir.File("members.dat")), "100,1,2,3\r\n120,4,5\r\n");

    // A wider tolerance on the command line, read strictly.
    run = RunQorvel({"group", dir.File("matched.dat"), points, "-o", dir.File("members.dat"), "--tolerance", "0.005"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("members.dat")), "100,1,2\r\n120,4\r\n");
}

TEST(AssemblyCommands, OptionsOfTheMerge) {
    TempDir dir;
    const std::string labels = dir.Write("labels.dat", "1,,100,200,0,1200\n2,,100,220,0,K1+220\n");
    const std::string points = dir.Write("points.dat", "A,,99.75,200.375,1\nB,,99.75,220.395,2\n");
    auto run = RunQorvel({"stakes", labels, points, "-o", dir.File("s.dat"), "--numeric-labels"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("s.dat")), "1200,,99.750,200.375,1.000\r\n1220,,99.750,220.395,2.000\r\n");
    // B lies 0.02 m from where its label puts the stake; a plain number is no station text.
    run = RunQorvel({"stakes", labels, points, "-o", dir.File("s.dat"), "--tolerance", "0.01"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("s.dat")), ",,99.750,200.375,1.000\r\n");
}

TEST(AssemblyCommands, LineEndsBlankLinesAndForeignBytesPassThrough) {
    TempDir dir;
    // LF and CR LF mixed, blank lines, no final line end; names in GBK.
    const std::string matched = dir.Write("matched.dat", "1200,0,0,10,0\n\n   \r\n1220,0,5,10,5");
    const std::string points = dir.Write("points.dat", "\xD6\xD0\xD7\xAE,,3,0,1\r\n\r\nP\xFF,,4,5.01,1\n");
    const auto run = RunQorvel({"group", matched, points, "-o", dir.File("m.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("m.dat")), "1200,\xD6\xD0\xD7\xAE\r\n1220,P\xFF\r\n");

    // The error of a bad record names its physical line, blank lines counted.
    const std::string bad = dir.Write("bad.dat", "1200,0,0,10,0\n\n1220,0,5\n");
    const auto failed = RunQorvel({"group", bad, points, "-o", dir.File("m.dat")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("第 3 行，字段 3：缺少该字段"), std::string::npos) << failed.err;
    EXPECT_EQ(ReadFile(dir.File("m.dat")), "1200,\xD6\xD0\xD7\xAE\r\n1220,P\xFF\r\n");
}

TEST(AssemblyCommands, LargeFilesAndLongLines) {
    TempDir dir;
    std::string points;
    std::string expected = "100";
    for (int k = 0; k < 200000; ++k) {
        const bool onLine = k % 1000 == 0;
        points += std::to_string(k) + ",code," + std::to_string(k % 50) + "," + (onLine ? "0" : "3") + ",10\r\n";
        if (onLine) expected += "," + std::to_string(k);
    }
    const std::string longName(100000, 'x');
    points += longName + ",,1,0.001,1\r\n";
    expected += "," + longName + "\r\n";
    const std::string matched = dir.Write("matched.dat", "100,0,0,10,0\r\n");
    const auto run = RunQorvel({"group", matched, dir.Write("points.dat", points), "-o", dir.File("m.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("m.dat")), expected);
}

}  // namespace
}  // namespace qorvel::testing
