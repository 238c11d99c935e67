#include "frame/steps/result_steps.h"

#include <gtest/gtest.h>

#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

class ResultStep : public ::testing::Test {
protected:
    TempDir dir;
    Session session;
    Settings settings;
    ScriptedHost host;
    // Two sections on lines running east; the matched section line file holds three lines, one of
    // them of a chainage nobody else knows, and a blank line.
    std::string members = dir.Write("members.dat", "1100,A,B\r\n1120,C\r\n");
    std::string stakes = dir.Write("stakes.dat", "1100,,500,300,52.300\r\n1120,,500,320,52.400\r\n");
    std::string points = dir.Write("points.dat", "A,,496.75,300,52.1\r\nB,,504.1,300,52.45\r\nC,,490,320,53\r\n");
    std::string lines = dir.Write("matched.dat",
                                  "1100,480,300,520,300\r\n\r\n1120,480,320,520,320\r\n1500,0,0,1,1\r\n");

    void AnswerAll(const std::string& output) {
        host.Answer(members).Answer(stakes).Answer(points).Answer(lines).Answer(output);
    }
};

TEST_F(ResultStep, DialogsStatusMessageAndResult) {
    AnswerAll(dir.File("result.dat"));
    const StepResult result = Describe(StepId::SectionResults).Run(host, session, settings);
    ASSERT_EQ(result.outcome, StepOutcome::Completed);
    EXPECT_FALSE(result.caution);
    EXPECT_EQ(ReadFile(dir.File("result.dat")), "1100\r\n3.25 52.10\r\n4.10 52.45\r\n1120\r\n10.00 53.00\r\n\r\n");

    ASSERT_EQ(host.dialogs.size(), 5u);
    EXPECT_EQ(host.statusPanel2, (std::vector<std::string>{
                                     "向变量添加中桩坐标： 1 个", "向变量添加中桩坐标： 2 个",
                                     "向变量添加方位角与距离值： 1 个", "向变量添加方位角与距离值： 2 个",
                                     "向变量添加归属断面点： 1 个", "向变量添加归属断面点： 2 个",
                                     "写入文件： 1 个", "写入文件： 2 个"}));
    EXPECT_EQ(host.progress, (std::vector<int>{50, 100, 50, 100, 50, 100, 50, 100}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].text, "共有断面数：3 条。");  // section lines read, not sections written
    EXPECT_EQ(host.openedResults, std::vector<std::string>{dir.File("result.dat")});
    EXPECT_EQ(session.carriedAzimuth, 90.0);  // C, west of its stake, measured last (for the second side)
}

TEST_F(ResultStep, SettingsOfTheWindowApply) {
    settings.layout = "3";
    settings.swapSides = true;
    settings.negateHeights = true;
    settings.stationText = true;
    settings.blankLine = true;
    settings.avoidDistance = 3.5;  // leaves out A at 3.25
    AnswerAll(dir.File("result.dat"));
    ASSERT_EQ(Describe(StepId::SectionResults).Run(host, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("result.dat")), " \r\nK1+100 52.300 4.10 -0.15 \r\n \r\nK1+120 52.400  10.00 -0.60\r\n");
    EXPECT_EQ(host.dialogs.back().filter, "断面成果_dat文件(*.dat)|*.dat");

    // The save dialog offers the extension of the layout chosen.
    settings = Settings{};
    settings.layout = "csv";
    host.dialogs.clear();
    AnswerAll(dir.File("result.csv"));
    ASSERT_EQ(Describe(StepId::SectionResults).Run(host, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(host.dialogs.back().filter, "断面成果_csv文件(*.csv)|*.csv");
    EXPECT_EQ(host.dialogs.back().usualName, "10-sections.csv");
}

// Files that give no section, or sections without a point, in every layout: a caution.
TEST_F(ResultStep, NoSectionOrEverySectionEmptyCarriesACaution) {
    for (const char* layout : {"1", "hdm"}) {
        settings.layout = layout;
        points = dir.Write("points.dat", "X,,496.75,300,52.1\r\n");  // no member is a detail point
        AnswerAll(dir.File("result.dat"));
        StepResult result = Describe(StepId::SectionResults).Run(host, session, settings);
        ASSERT_EQ(result.outcome, StepOutcome::Completed) << host.failures.at(0);
        ASSERT_TRUE(result.caution) << layout;
        EXPECT_TRUE(result.caution->cause.starts_with("所有 2 个断面都没有点：")) << result.caution->cause;
    }
    settings.layout = "1";
    members = dir.Write("members.dat", "900,A\r\n");
    AnswerAll(dir.File("result.dat"));
    const StepResult none = Describe(StepId::SectionResults).Run(host, session, settings);
    ASSERT_TRUE(none.caution);
    EXPECT_NE(none.caution->cause.find("没有一个共同的桩号"), std::string::npos) << none.caution->cause;
}

TEST_F(ResultStep, UnknownLayoutWritesAnEmptyFileAndStillEnds) {
    settings.layout = "6";
    const std::string output = dir.Write("result.dat", "old result");
    AnswerAll(output);
    ASSERT_EQ(Describe(StepId::SectionResults).Run(host, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(ReadFile(output), "");
    EXPECT_EQ(host.statusPanel2.back(), "向变量添加归属断面点： 2 个");  // no "写入文件："
    EXPECT_EQ(host.messages.at(0).text, "共有断面数：3 条。");
    EXPECT_EQ(host.openedResults.size(), 1u);
}

TEST_F(ResultStep, FailureLeavesTheOldResultAndCancelTouchesNothing) {
    stakes = dir.Write("stakes.dat", "1100,,500,300,52.300\r\n1120,,5OO,320,52.400\r\n");
    const std::string output = dir.Write("result.dat", "old result");
    AnswerAll(output);
    EXPECT_EQ(Describe(StepId::SectionResults).Run(host, session, settings).outcome, StepOutcome::Failed);
    EXPECT_EQ(host.failures, std::vector<std::string>{"文件“" + stakes + "”第 2 行，字段 2：不是数字：“5OO”"});
    EXPECT_EQ(ReadFile(output), "old result");
    EXPECT_TRUE(host.messages.empty() && host.openedResults.empty());

    ScriptedHost cancelled;
    cancelled.Answer(members).Answer(stakes).Answer(std::nullopt);
    EXPECT_EQ(Describe(StepId::SectionResults).Run(cancelled, session, settings).outcome, StepOutcome::Cancelled);
    EXPECT_EQ(cancelled.dialogs.size(), 3u);
    EXPECT_TRUE(cancelled.failures.empty());
}

// A chainage of a damaged file, thousands of characters long, on a section without points: the
// sheets' warning and the check's problems name it shortened, as messages do.
TEST_F(ResultStep, WarningsAndProblemsShortenALongStation) {
    const std::string chainage(5000, 'A');
    members = dir.Write("members.dat", chainage + ",\r\n");
    stakes = dir.Write("stakes.dat", chainage + ",,500,300,52.300\r\n");
    lines = dir.Write("matched.dat", chainage + ",480,300,520,300\r\n");
    AnswerAll(dir.File("sheets.svg"));
    const StepResult sheets = Describe(StepId::SectionSheets).Run(host, session, settings);
    ASSERT_EQ(sheets.outcome, StepOutcome::Completed);
    ASSERT_EQ(sheets.notes.size(), 1u);
    EXPECT_NE(sheets.notes[0].find("AAA…"), std::string::npos);
    EXPECT_LT(sheets.notes[0].size(), 200u);

    AnswerAll(dir.File("check.dat"));
    const StepResult check = Describe(StepId::SectionCheck).Run(host, session, settings);
    ASSERT_EQ(check.outcome, StepOutcome::Completed);
    ASSERT_FALSE(check.problems.empty());
    for (const CheckProblem& problem : check.problems) EXPECT_LT(problem.station.size(), 100u);
    EXPECT_NE(ReadFile(dir.File("check.dat")).find(chainage), std::string::npos);  // the report keeps it whole
}

}  // namespace
}  // namespace qorvel
