#include "frame/step_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "frame/session.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

TEST(StepCatalogue, EveryStepIsCompleteAndFoundUnderEachOfItsNames) {
    std::set<int> numbers;
    std::set<StepId> ids;
    for (const StepDescription& step : StepCatalogue()) {
        SCOPED_TRACE(std::string(step.caption));
        EXPECT_TRUE(ids.insert(step.id).second);
        EXPECT_EQ(&Describe(step.id), &step);
        if (!step.toolbarKey.empty()) {
            EXPECT_EQ(FindStepByKey(step.toolbarKey), &step);
        }
        EXPECT_FALSE(step.caption.empty());
        EXPECT_FALSE(step.tooltip.empty());
        EXPECT_NE(step.run, nullptr);
        EXPECT_FALSE(step.inputs.empty());
        for (const FileSpec& input : step.inputs) {
            EXPECT_NE(input.role, FileRole::None);
            EXPECT_FALSE(input.filter.empty());
            EXPECT_FALSE(RoleName(input.role).empty());
        }
        if (step.output.role == FileRole::None) continue;  // attaches or opens, writes nothing
        if (step.number != 0) {
            EXPECT_TRUE(numbers.insert(step.number).second);
        }
        if (!step.button.empty()) {
            EXPECT_EQ(FindStepByButton(step.button), &step);
        }
        EXPECT_EQ(FindStepByCommand(step.command), &step);
        EXPECT_FALSE(step.commandHelp.empty());
        EXPECT_NE(step.output.role, FileRole::None);
        EXPECT_FALSE(step.output.filter.empty());
        EXPECT_EQ(FindStepWriting(step.output.role), &step);
        EXPECT_FALSE(step.outputName.empty());
    }
    EXPECT_EQ(numbers.size(), 12u);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(StepId::SectionViewer) + 1);
    EXPECT_EQ(FindStepByKey("bt4"), nullptr);  // keys compare with their letter case
}

// Each step asks for exactly the files its entry lists, by role and in that order, then for its
// output: what the command line and the run bind by role is what the step reads.
TEST(StepCatalogue, EachStepAsksForTheRolesItsEntryLists) {
    testing::TempDir dir;
    const std::string empty = dir.Write("empty.dat", "");
    for (const StepDescription& step : StepCatalogue()) {
        if (step.Reads(FileRole::Drawing)) continue;  // the drawing steps are tested with drawings
        SCOPED_TRACE(std::string(step.caption));
        testing::ScriptedHost host;
        for (std::size_t k = 0; k < step.inputs.size(); ++k) host.Answer(empty);
        const std::string output = dir.File("out" + std::filesystem::path(std::string(step.outputName)).extension().string());
        host.Answer(output);
        Session session;
        const StepResult result = step.run(host, session, Settings{});
        EXPECT_EQ(result.outcome, StepOutcome::Completed);
        const bool writes = step.output.role != FileRole::None;
        EXPECT_EQ(result.output, writes ? output : "");
        ASSERT_EQ(host.dialogs.size(), step.inputs.size() + (writes ? 1 : 0));
        for (std::size_t k = 0; k < step.inputs.size(); ++k) {
            EXPECT_EQ(host.dialogs[k].role, step.inputs[k].role);
            EXPECT_EQ(host.dialogs[k].position, static_cast<int>(k) + 1);
            EXPECT_FALSE(host.dialogs[k].save);
        }
        if (!writes) continue;
        EXPECT_TRUE(host.dialogs.back().save);
        EXPECT_EQ(host.dialogs.back().role, step.output.role);
    }
}

}  // namespace
}  // namespace qorvel
