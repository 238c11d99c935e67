#include "frame/step_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "frame/session.h"
#include "plot/sheet_kinds.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

TEST(StepCatalogue, EveryStepIsFoundUnderEachOfItsNames) {
    std::set<StepId> ids;
    for (const StepDescription& step : StepCatalogue()) {
        SCOPED_TRACE(std::string(step.caption));
        EXPECT_TRUE(ids.insert(step.id).second);
        EXPECT_EQ(&Describe(step.id), &step);
        EXPECT_TRUE((step.compute == nullptr) != (step.procedure == nullptr));  // one way to run
        if (step.output.role == FileRole::None) continue;  // attaches or opens, writes nothing
        EXPECT_EQ(FindStepByCommand(step.command), &step);
        EXPECT_EQ(FindStepWriting(step.output.role), &step);
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(StepId::SectionViewer) + 1);
    // The run's steps in their order, the sheets last.
    std::vector<StepId> run;
    for (const StepDescription* step : RunSteps()) run.push_back(step->id);
    using enum StepId;
    EXPECT_EQ(run, (std::vector<StepId>{StationLabels, CentreStakes, StakeCheck, SectionLines, LineMatch, LineCheck,
                                        Membership, SectionResults, SectionCheck, GroundProfile, SectionSheets}));
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
        std::string extension = std::filesystem::path(std::string(step.outputName)).extension().string();
        if (const SheetKind* kind = SheetKindOfPath(extension); kind && !kind->available()) extension = ".dxf";  // a build without PDF
        const std::string output = dir.File("out" + extension);
        host.Answer(output);
        Session session;
        Settings settings;
        settings.sourceLayout = "1";  // an empty section file shows no layout of its own
        const StepResult result = step.Run(host, session, settings);
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
