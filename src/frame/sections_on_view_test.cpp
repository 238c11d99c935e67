#include "frame/sections_on_view.h"

#include <gtest/gtest.h>

#include "frame/session.h"
#include "frame/steps/result_steps.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

// Two stations 20 m apart on a route running north, their lines running east, listed from the
// far end. The second line is drawn from east to west, against the route; D stands on its
// stake and belongs to no side.
TEST(SectionsOnView, OpensSectionsWithTheirProblemsCodesAndPlans) {
    testing::TempDir dir;
    testing::ScriptedHost host;
    host.Answer(dir.Write("members.dat", "1120,C,D\r\n1100,A,B\r\n"))
        .Answer(dir.Write("stakes.dat", "1100,,500,300,52.300\r\n1120,,500,320,52.400\r\n"))
        .Answer(dir.Write("points.dat", "A,dm,496.75,300,52.1\r\nB,\xB5\xD8,504.1,300,52.45\r\n"
                                        "C,,490,320,53\r\nD,zz,500.01,320,52.4\r\n"))
        .Answer(dir.Write("matched.dat", "1100,480,300,520,300\r\n1120,520,320,480,320\r\n"));
    Session session;
    Settings settings;
    settings.stationText = true;
    const StepResult result = steps::ViewSections(host, session, settings);
    ASSERT_EQ(result.outcome, StepOutcome::Completed);
    EXPECT_TRUE(host.messages.empty());  // the viewer shows the sections, not a message
    ASSERT_NE(session.sectionsOnView, nullptr);
    const SectionsOnView& sections = *session.sectionsOnView;
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(result.count, 2u);

    EXPECT_EQ(sections.Entry(0).station, "K1+100");
    EXPECT_EQ(sections.Entry(0).leftPoints, 1u);
    EXPECT_EQ(sections.Entry(0).rightPoints, 1u);
    EXPECT_TRUE(sections.Entry(0).problems.empty());
    ASSERT_FALSE(sections.Entry(1).problems.empty());
    EXPECT_EQ(sections.Entry(1).problems.front(), "断面线反向");
    EXPECT_EQ(sections.SectionsWithProblems(), std::vector<std::size_t>{1});

    const SectionDrawing drawing = sections.Drawing(0);
    EXPECT_EQ(drawing.station, "1100");
    EXPECT_EQ(StationLabel(drawing), "K1+100");
    ASSERT_EQ(drawing.firstSide.size(), 1u);
    EXPECT_EQ(drawing.firstSide[0].name, "A");
    EXPECT_EQ(drawing.firstSide[0].code, "dm");
    EXPECT_EQ(drawing.secondSide[0].code, "地");  // GBK in the file, UTF-8 on the screen
    EXPECT_EQ(sections.Drawing(1).problems, sections.Entry(1).problems);

    const SectionPlan plan = sections.Plan(1);
    ASSERT_EQ(plan.members.size(), 2u);
    EXPECT_EQ(plan.members[0].side, SectionPlan::Side::Right);  // C, towards the line's second end
    EXPECT_EQ(plan.members[1].side, SectionPlan::Side::None);   // D, on the stake
    EXPECT_EQ(plan.firstEndEast, 520);

    EXPECT_EQ(sections.FindStation(" K1+120 "), 1u);
    EXPECT_EQ(sections.FindStation("1104"), 0u);     // the nearest chainage
    EXPECT_EQ(sections.FindStation("K1+119"), 1u);
    EXPECT_EQ(sections.FindStation("abc"), std::nullopt);
    EXPECT_EQ(sections.FindStation(""), std::nullopt);
}

}  // namespace
}  // namespace qorvel
