// Points moved onto their section lines, found through the tree of boxes, against the loop over
// every line and point: the same bytes, counts, progress, failures and carried azimuth.

#include <bit>
#include <cmath>

#include <gtest/gtest.h>

#include "assemble/point_projection.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

struct ProjectionCase {
    std::string matchedLines;
    std::string points;
    double tolerance = 0;
    double carried = 0;
};

std::string damaged(std::string record, RandomSource& random) {
    if (random.Chance(0.5)) return record.substr(0, record.rfind(','));
    const std::size_t comma = record.find(',', record.find(',') + 1);
    return record.substr(0, comma + 1) + "1e999" + record.substr(record.find(',', comma + 1));
}

ProjectionCase randomCase(RandomSource& random, std::size_t mostLines, std::size_t mostPoints) {
    const RandomLayout layout = RandomLinesAndPoints(random, mostLines, mostPoints);
    std::vector<std::string> lines;
    for (const auto& line : layout.lines)
        lines.push_back(RepeatingName(random, "K") + "," + line.fields[0] + "," + line.fields[1] + "," +
                        line.fields[2] + "," + line.fields[3]);
    std::vector<std::string> points;
    for (const auto& point : layout.points) {
        // Some points without an elevation: at fault only when they are members.
        const char* elevation = random.Chance(0.04) ? "" : random.Chance(0.5) ? ",12.5" : ", 7.25 ";
        points.push_back(RepeatingName(random, "P") + ",code," + point.east + "," + point.north + elevation);
    }
    if (!lines.empty() && random.Chance(0.1)) {
        std::string& line = lines[random.Below(lines.size())];
        line = damaged(line, random);
    }
    if (!points.empty() && random.Chance(0.1)) {
        std::string& point = points[random.Below(points.size())];
        point = damaged(point, random);
    }
    return {JoinRecords(lines, random), JoinRecords(points, random), layout.tolerance, random.Uniform(0, 360)};
}

StepOutcome observe(const ProjectionCase& c, bool indexed) {
    return Observe(c.carried, [&](StepOutcome& outcome, double& carried, ProgressSink& progress) {
        const DataFile lines = DataFile::FromBytes("matched.dat", c.matchedLines);
        const DataFile points = DataFile::FromBytes("points.dat", c.points);
        const PointProjectionResult result =
            indexed ? ProjectPointsOntoSectionLines(lines, points, c.tolerance, carried, progress)
                    : reference::ProjectPointsOntoSectionLines(lines, points, c.tolerance, carried, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.lines, result.points};
    });
}

TEST(PointProjectionEquivalence, RandomSurveys) {
    int withPoints = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        RandomSource random(seed * 15485863);
        const ProjectionCase c = randomCase(random, 12, 60);
        const StepOutcome expected = observe(c, false);
        ASSERT_EQ(observe(c, true), expected) << "seed " << seed;
        withPoints += !expected.counts.empty() && expected.counts[1] > 0;
        failed += !expected.failure.empty();
    }
    EXPECT_GT(withPoints, 100);
    EXPECT_GT(failed, 40);
}

TEST(PointProjectionEquivalence, FailuresComeWhereTheLoopMeetsThem) {
    const std::string lines = "1200,0,0,10,0\r\n1220,0,5,10,5\r\n";
    for (const ProjectionCase& c : {
             // A member without an elevation on the first line, before the unreadable point.
             ProjectionCase{lines, "A,,1,0.01\r\nB,,2,3,1\r\nC,,1e999,0,1\r\n", 0.05, 9},
             // The unreadable point comes first.
             ProjectionCase{lines, "B,,2,3,1\r\nC,,1e999,0,1\r\nA,,1,0.01\r\n", 0.05, 9},
             // A member of the second line only, without an elevation.
             ProjectionCase{lines, "A,,1,0.01,1\r\nB,,2,5.01\r\nD,,3,7,1\r\n", 0.05, 9},
             // The second line cannot be read: the first is written, then the step fails.
             ProjectionCase{"1200,0,0,10,0\r\n1220,0,5\r\n", "A,,1,0.01,1\r\nD,,3,7,1\r\n", 0.05, 9},
         }) {
        const StepOutcome result = observe(c, true);
        EXPECT_EQ(result, observe(c, false)) << c.points;
        EXPECT_FALSE(result.failure.empty());
    }
    const StepOutcome second = observe({lines, "A,,1,0.01,1\r\nB,,2,5.01\r\nD,,3,7,1\r\n", 0.05, 9}, true);
    EXPECT_EQ(second.failure, "points.dat:2:4: 缺少该字段（这一行只有 4 个字段）");
    // Its test was the last: from B (2, 5.01) to its foot (2, 5) is due south.
    EXPECT_EQ(std::bit_cast<double>(second.carriedBits), 180.0);
    EXPECT_EQ(second.progress.size(), 1u);
}

TEST(PointProjectionEquivalence, ARouteLongEnoughForTwoThreads) {
    // 1100 sections along a gently curving route with a point or two on each and a few strays.
    std::string lines;
    std::string points;
    for (int k = 0; k < 1100; ++k) {
        const double east = 439000 + 20 * k;
        const double north = 3391000 + 0.002 * k * k;
        const double tilt = 0.004 * k;
        const std::string chainage = std::to_string(20 * k);
        lines += chainage + "," + ExactText(east - 30 * tilt) + "," + ExactText(north + 30) + "," +
                 ExactText(east + 30 * tilt) + "," + ExactText(north - 30) + "\r\n";
        points += "P" + chainage + ",," + ExactText(east + 0.01) + "," + ExactText(north) + ",1.5\r\n";
        if (k % 3 == 0) points += "Q" + chainage + ",," + ExactText(east + 10 * tilt) + "," + ExactText(north - 10) + ",1\r\n";
        if (k % 97 == 0) points += "S" + chainage + ",," + ExactText(east + 5) + "," + ExactText(north + 5) + "\r\n";
    }
    const ProjectionCase whole{lines, points, 0.05, 45};
    const StepOutcome result = observe(whole, true);
    EXPECT_EQ(result, observe(whole, false));
    EXPECT_GE(result.counts[1], 1100u);
}

}  // namespace
}  // namespace qorvel::testing
