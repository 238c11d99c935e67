#include "frame/steps/assembly_steps.h"

#include <gtest/gtest.h>

#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

TEST(AssemblySteps, MergeReportsLabelsProcessedAndStakesFound) {
    TempDir dir;
    std::string labels;
    std::string points;
    for (int k = 0; k < 20; ++k) {
        const std::string east = std::to_string(1000 + 20 * k);
        labels += std::to_string(k + 1) + ",," + east + ",2000,0,K1+" + std::to_string(100 + 20 * k) + "\r\n";
        // The stake is surveyed 0.4504 m up and left of its label; two are missing.
        if (k % 10 != 3) points += "P" + std::to_string(k) + ",," + std::to_string(999.75 + 20 * k) + ",2000.375,50\r\n";
    }
    Session session;
    Settings settings;
    ScriptedHost host;
    host.Answer(dir.Write("labels.dat", labels)).Answer(dir.Write("points.dat", points)).Answer(dir.File("stakes.dat"));
    const StepResult result = Describe(StepId::CentreStakes).Run(host, session, settings);
    ASSERT_EQ(result.outcome, StepOutcome::Completed);
    EXPECT_FALSE(result.caution);
    ASSERT_EQ(host.dialogs.size(), 3u);
    EXPECT_EQ(host.dialogs[0].filter, "提取的桩号文字信息_dat文件(*.dat)|*.dat");
    EXPECT_EQ(host.dialogs[1].filter, "全图碎步点数据_dat文件(*.dat)|*.dat");
    EXPECT_EQ(host.dialogs[2].filter, "保存_中桩数据dat文件(*.dat)|*.dat");
    EXPECT_EQ(host.statusPanel2.back(), "已合并中桩坐标高程:20 个");
    EXPECT_EQ(host.progress.back(), 100);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "本次共合成中桩坐标个数 18 个！");
    EXPECT_EQ(host.openedResults, std::vector<std::string>{dir.File("stakes.dat")});
    const std::string stakes = ReadFile(dir.File("stakes.dat"));
    EXPECT_EQ(stakes.substr(0, stakes.find('\n') + 1), "1100,,999.750,2000.375,50.000\r\n");
}

TEST(AssemblySteps, MatchAndGroupUseTheirTolerancesAndDialogs) {
    TempDir dir;
    Session session;
    Settings settings;
    settings.matchTolerance = 0.5;
    ScriptedHost match;
    match.Answer(dir.Write("stakes.dat", "1200,,100,50,10\r\n"))
        .Answer(dir.Write("lines.dat", "1,90,50.25,110,50.25\r\n2,90,50.5,110,50.5\r\n"))
        .Answer(dir.File("matched.dat"));
    ASSERT_EQ(Describe(StepId::LineMatch).Run(match, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("matched.dat")), "1200,90,50.25,110,50.25\r\n");
    EXPECT_EQ(match.messages.at(0).text, "本次桩号共匹配断面线：1 条！");
    EXPECT_TRUE(match.statusPanel2.empty() && match.progress.empty());

    ScriptedHost group;
    group.Answer(dir.File("matched.dat")).Answer(dir.Write("points.dat", "A,,95,50.26,9\r\nB,,95,50.4,9\r\n"))
        .Answer(dir.File("members.dat"));
    ASSERT_EQ(Describe(StepId::Membership).Run(group, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("members.dat")), "1200,A\r\n");
    EXPECT_EQ(group.dialogs.at(0).filter, "匹配桩号后的断面线_dat文件(*.dat)|*.dat");
    EXPECT_EQ(group.statusPanel2.back(), "完成添加归属点号的桩号有： 1 个");
    EXPECT_EQ(group.messages.at(0).text, "本次完成添加归属点号的桩号有1个！");
}

// Inputs that gave a step nothing to do (or a dozen stakes on each line): the step completes as
// it always has, with a caution naming the likely cause.
TEST(AssemblySteps, InputsThatGiveNothingToDoCarryACaution) {
    TempDir dir;
    Session session;
    Settings settings;
    const auto run = [&](StepId step, const std::string& first, const std::string& second) {
        ScriptedHost host;
        host.Answer(dir.Write("first.dat", first)).Answer(dir.Write("second.dat", second)).Answer(dir.File("out.dat"));
        StepResult result = Describe(step).Run(host, session, settings);
        EXPECT_EQ(result.outcome, StepOutcome::Completed) << (host.failures.empty() ? "" : host.failures[0]);
        return result;
    };
    const std::string labels = "1,,500.250,299.625,0.000,K0+100\r\n2,,520.250,299.625,0.000,K0+120\r\n";
    const std::string points = "1,,500,300,10.5\r\n2,,500,305,10.9\r\n3,,500,295,10.1\r\n4,,520,300,10.6\r\n";
    // The two files of the merge the other way round.
    StepResult result = run(StepId::CentreStakes, points, labels);
    EXPECT_EQ(result.summary, "本次共合成中桩坐标个数 0 个！");
    ASSERT_TRUE(result.caution);
    EXPECT_NE(result.caution->cause.find("顺序弄反"), std::string::npos) << result.caution->cause;
    // Labels found their stakes, but none reads as a station.
    result = run(StepId::CentreStakes, "1,,500.250,299.625,0.000,100\r\n", points);
    ASSERT_TRUE(result.caution);
    EXPECT_NE(result.caution->cause.find("--numeric-labels"), std::string::npos) << result.caution->cause;

    // No line through a stake; the detail points given as the stakes: three on one line.
    const std::string lines = "1,500,280,500,320\r\n2,520,320,520,280\r\n";
    result = run(StepId::LineMatch, "100,,600,300,10\r\n", lines);
    ASSERT_TRUE(result.caution);
    EXPECT_NE(result.caution->cause.find("（0.01 米）太小"), std::string::npos) << result.caution->cause;
    result = run(StepId::LineMatch, points, "1,500,280,500,320\r\n");
    EXPECT_EQ(result.count, 3u);
    ASSERT_TRUE(result.caution);
    EXPECT_NE(result.caution->cause.find("碎步点文件"), std::string::npos) << result.caution->cause;
    EXPECT_FALSE(run(StepId::LineMatch, "100,,500,300,10\r\n", lines).caution);

    // No point on a line.
    result = run(StepId::Membership, "100,600,280,600,320\r\n", points);
    ASSERT_TRUE(result.caution);
    EXPECT_NE(result.caution->cause.find("碎步点按桩号归类时"), std::string::npos) << result.caution->cause;
    EXPECT_FALSE(run(StepId::Membership, "100,500,280,500,320\r\n", points).caution);
}

}  // namespace
}  // namespace qorvel
