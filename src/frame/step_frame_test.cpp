#include "frame/step_frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "core/step_error.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

// A step that copies its input to its output, counting records (in the frame of the line check,
// reading its centre-stake file).
constexpr char kStakeA[] = "1,,10,20,1";
constexpr char kStakeB[] = "2,,11,21,1";
std::string Stakes(std::initializer_list<std::string> records) {
    std::string text;
    for (const std::string& record : records) text += record + "\n";
    return text;
}
StepOutcome copyStep(StepHost& host, Session& session) {
    return RunStep(host, session, Settings{}, StepId::LineCheck, [](StepContext& step) {
        const DataFile& input = *step.OpenInput(FileRole::CentreStakes);
        const std::string output = step.AskOutput();
        OutputText text;
        for (const Record& record : input.records()) {
            if (record.text == "warn") step.Warn("注意！", "停");
            if (record.text == "bad") throw StepError(input.name(), record.line, 0, "坏");
            text.Line(record.text);
            step.progress().Advance("复制： ", text.lineCount(), input.size());
        }
        step.Finish(output, text, "共 " + std::to_string(text.lineCount()) + " 行", text.lineCount());
    }).outcome;
}

TEST(StepFrame, CompletedStepWritesReportsAndOpensTheResult) {
    TempDir dir;
    Session session;
    Settings settings;
    ScriptedHost host;
    host.Answer(dir.Write("in.dat", Stakes({kStakeA, kStakeB}))).Answer(dir.File("out.dat"));
    EXPECT_EQ(copyStep(host, session), StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("out.dat")), std::string(kStakeA) + "\r\n" + kStakeB + "\r\n");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].role, MessageRole::Summary);
    EXPECT_EQ(host.messages[0].title, "提示！");
    EXPECT_EQ(host.messages[0].text, "共 2 行");
    EXPECT_EQ(host.statusPanel2, (std::vector<std::string>{"复制： 1 个", "复制： 2 个"}));
    EXPECT_EQ(host.progress, (std::vector<int>{50, 100}));
    EXPECT_EQ(host.openedResults, std::vector<std::string>{dir.File("out.dat")});
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_FALSE(host.dialogs[0].save);
    EXPECT_EQ(host.dialogs[0].role, FileRole::CentreStakes);
    EXPECT_EQ(host.dialogs[0].position, 1);
    EXPECT_TRUE(host.dialogs[1].save);
    EXPECT_EQ(host.dialogs[1].role, FileRole::LineCheckReport);
}

TEST(StepFrame, CancelEndsSilently) {
    TempDir dir;
    Session session;
    Settings settings;
    ScriptedHost first;
    first.Answer(std::nullopt);
    EXPECT_EQ(copyStep(first, session), StepOutcome::Cancelled);
    EXPECT_TRUE(first.messages.empty() && first.failures.empty() && first.statusPanel2.empty());

    ScriptedHost atSave;
    atSave.Answer(dir.Write("in.dat", Stakes({kStakeA}))).Answer(std::nullopt);
    EXPECT_EQ(copyStep(atSave, session), StepOutcome::Cancelled);
    EXPECT_TRUE(atSave.messages.empty() && atSave.failures.empty() && atSave.openedResults.empty());
    EXPECT_EQ(testing::ListFolder(dir.path()), std::vector<std::string>{"in.dat"});
}

TEST(StepFrame, FailuresAndWarningsLeaveTheOutputAsItWas) {
    TempDir dir;
    Session session;
    Settings settings;
    const std::string output = dir.Write("out.dat", "earlier result");

    ScriptedHost failing;
    failing.Answer(dir.Write("bad.dat", Stakes({kStakeA, "", "bad"}))).Answer(output);
    EXPECT_EQ(copyStep(failing, session), StepOutcome::Failed);
    EXPECT_EQ(failing.failures, std::vector<std::string>{"文件“" + dir.File("bad.dat") + "”第 3 行，字段 0：坏"});
    EXPECT_TRUE(failing.messages.empty() && failing.openedResults.empty());

    ScriptedHost warned;
    warned.Answer(dir.Write("warn.dat", Stakes({kStakeA, "warn"}))).Answer(output);
    EXPECT_EQ(copyStep(warned, session), StepOutcome::Warned);
    ASSERT_EQ(warned.messages.size(), 1u);
    EXPECT_EQ(warned.messages[0].role, MessageRole::Warning);
    EXPECT_TRUE(warned.failures.empty());

    // A file that cannot be of the role asked is refused before the output is asked for.
    ScriptedHost unlike;
    unlike.Answer(dir.Write("text.dat", Stakes({"缺少中桩,36,,4385.7,3391.1,0,K0+340"}))).Answer(output);
    EXPECT_EQ(copyStep(unlike, session), StepOutcome::Failed);
    ASSERT_EQ(unlike.failures.size(), 1u);
    EXPECT_NE(unlike.failures[0].find("这不像中桩文件"), std::string::npos);
    EXPECT_EQ(unlike.dialogs.size(), 1u);

    ScriptedHost missing;
    missing.Answer(dir.File("nothing-here.dat"));
    EXPECT_EQ(copyStep(missing, session), StepOutcome::Failed);
    EXPECT_EQ(missing.failures, std::vector<std::string>{"文件“" + dir.File("nothing-here.dat") + "”：文件不存在"});

    // An output naming the input (here through a second name of the same file) would destroy it:
    // refused, the input kept.
    const std::string link = dir.File("link.dat");
    std::filesystem::create_hard_link(dir.File("warn.dat"), link);
    ScriptedHost overInput;
    overInput.Answer(dir.File("warn.dat")).Answer(link);
    EXPECT_EQ(copyStep(overInput, session), StepOutcome::Failed);
    ASSERT_EQ(overInput.failures.size(), 1u);
    EXPECT_NE(overInput.failures[0].find("输出文件就是本步的输入文件"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("warn.dat")), Stakes({kStakeA, "warn"}));

    EXPECT_EQ(ReadFile(output), "earlier result");
    EXPECT_EQ(testing::ListFolder(dir.path()),
              (std::vector<std::string>{"bad.dat", "link.dat", "out.dat", "text.dat", "warn.dat"}));
}

}  // namespace
}  // namespace qorvel
