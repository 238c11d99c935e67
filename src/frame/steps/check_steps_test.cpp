#include "frame/steps/check_steps.h"

#include <gtest/gtest.h>

#include "frame/step_catalogue.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

StepOutcome run(StepId step, ScriptedHost& host, Session& session, const Settings& settings) {
    return Describe(step).Run(host, session, settings).outcome;
}

TEST(CheckSteps, CheckStakesFromTheToolbarWithNumericLabels) {
    TempDir dir;
    Session session;
    Settings settings;
    settings.numericLabels = true;
    ScriptedHost host;
    host.Answer(dir.Write("labels.dat", "1,,0,0,0,1200\r\n2,,0,0,0,K1+220\r\n"))
        .Answer(dir.Write("stakes.dat", "1200,,1,1,1\r\n"))
        .Answer(dir.File("report.dat"));
    ASSERT_EQ(run(StepId::StakeCheck, host, session, settings), StepOutcome::Completed);
    ASSERT_EQ(host.dialogs.size(), 3u);
    EXPECT_EQ(host.dialogs[0].filter, "提取的桩号文字信息_dat文件(*.dat)|*.dat");
    EXPECT_EQ(host.dialogs[1].filter, "中桩数据_dat文件(*.dat)|*.dat");
    EXPECT_TRUE(host.dialogs[2].save);
    EXPECT_EQ(host.statusPanel2.back(), "已检查桩号文字：2 个");
    EXPECT_EQ(host.progress.back(), 100);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].text, "共检查桩号文字 2 个，有问题的 1 个！");
    EXPECT_EQ(ReadFile(dir.File("report.dat")), "\xC8\xB1\xC9\xD9\xD6\xD0\xD7\xAE,2,,0,0,0,K1+220\r\n");
    EXPECT_EQ(host.openedResults, std::vector<std::string>{dir.File("report.dat")});
}

TEST(CheckSteps, CheckLinesCountsBothKinds) {
    TempDir dir;
    Session session;
    Settings settings;
    ScriptedHost host;
    host.Answer(dir.Write("stakes.dat", "1200,,1,1,1\r\n1220,,1,1,1\r\n1240,,1,1,1\r\n"))
        .Answer(dir.Write("matched.dat", "1220,0,0,1,1\r\n1240,0,0,1,1\r\n1240,0,0,2,2\r\n"))
        .Answer(dir.File("report.dat"));
    ASSERT_EQ(run(StepId::LineCheck, host, session, settings), StepOutcome::Completed);
    EXPECT_EQ(host.dialogs.at(1).filter, "匹配桩号后的断面线_dat文件(*.dat)|*.dat");
    EXPECT_EQ(host.statusPanel2.back(), "已检查中桩：3 个");
    EXPECT_EQ(host.messages.at(0).text, "共检查中桩 3 个，缺少断面线 1 个，断面线重复 1 个！");
}

TEST(CheckSteps, PointStepsUseTheirOwnTolerances) {
    TempDir dir;
    Session session;
    Settings settings;
    settings.codeTolerance = 0.2;
    settings.groupTolerance = 0.5;
    const std::string matched = dir.Write("matched.dat", "1200,0,0,10,0\r\n");
    const std::string points = dir.Write("points.dat", "A,,5,0.1,1\r\nB,,5,0.3,2\r\n");

    ScriptedHost codes;
    codes.Answer(matched).Answer(points).Answer(dir.File("coded.dat"));
    ASSERT_EQ(run(StepId::PointCodes, codes, session, settings), StepOutcome::Completed);
    EXPECT_EQ(codes.dialogs.at(1).filter, "全图碎步点数据_dat文件(*.dat)|*.dat");
    EXPECT_EQ(ReadFile(dir.File("coded.dat")), "A,1200,5,0.1,1\r\nB,,5,0.3,2\r\n");
    EXPECT_EQ(codes.statusPanel2.back(), "已处理碎步点：2 个");
    EXPECT_EQ(codes.messages.at(0).text, "共有 1 个碎步点添加了桩号代码！");

    // B lies 0.3 m off the line, south of it: the last pair tested points due south.
    session.carriedAzimuth = 7;
    ScriptedHost projection;
    projection.Answer(matched).Answer(points).Answer(dir.File("moved.dat"));
    ASSERT_EQ(run(StepId::PointProjection, projection, session, settings), StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("moved.dat")), "A,1200,5.000,0.000,1\r\nB,1200,5.000,0.000,2\r\n");
    EXPECT_EQ(projection.statusPanel2.back(), "已计算横断面线上点的桩号：1 个");
    EXPECT_EQ(projection.messages.at(0).text, "共计算横断面线上的点 2 个！");
    EXPECT_EQ(session.carriedAzimuth, 180);
}

}  // namespace
}  // namespace qorvel
