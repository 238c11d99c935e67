// Station codes found through the tree of boxes against the loop over every point and section
// line: the same bytes, counts, progress and failures on many random surveys.

#include <cmath>

#include <gtest/gtest.h>

#include "assemble/point_codes.h"
#include "core/number_read.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

struct CodesCase {
    std::string matchedLines;
    std::string points;
    double tolerance = 0;
};

// A record with one field damaged the way a hand-edited file may be: cut short, or a number
// beyond any coordinate.
std::string damaged(std::string record, RandomSource& random) {
    if (random.Chance(0.5)) return record.substr(0, record.rfind(','));
    const std::size_t comma = record.find(',', record.find(',') + 1);
    return record.substr(0, comma + 1) + "1e999" + record.substr(record.find(',', comma + 1));
}

CodesCase randomCase(RandomSource& random, std::size_t mostLines, std::size_t mostPoints) {
    RandomLayout layout = RandomLinesAndPoints(random, mostLines, mostPoints);
    double tolerance = layout.tolerance;
    // The same segment twice (equally near: the first keeps the point), and points about the
    // tolerance away from a line's ends, where the distance is to the end itself.
    if (!layout.lines.empty() && random.Chance(0.3)) layout.lines.push_back(layout.lines[random.Below(layout.lines.size())]);
    const std::size_t nearEnds = layout.lines.empty() ? 0 : random.Below(8);
    for (std::size_t k = 0; k < nearEnds; ++k) {
        const RandomLayout::Line& line = layout.lines[random.Below(layout.lines.size())];
        const PlanePoint end = random.Chance(0.5) ? line.first : line.second;
        const double angle = random.Uniform(0, 6.283185307179586);
        const double reach = std::fabs(tolerance) * random.Uniform(0.9, 1.1);
        const PlanePoint p = Nudge({end.east + reach * std::cos(angle), end.north + reach * std::sin(angle)}, 3, random);
        RandomLayout::Point point;
        point.east = SurveyText(p.east, random);
        point.north = SurveyText(p.north, random);
        point.position = {*ReadLenient(point.east), *ReadLenient(point.north)};
        layout.points.push_back(std::move(point));
    }
    // Now and then the tolerance is exactly one point's distance to one segment (that point is
    // not within it), or the double either side.
    if (!layout.lines.empty() && !layout.points.empty() && random.Chance(0.3)) {
        const RandomLayout::Line& line = layout.lines[random.Below(layout.lines.size())];
        const double distance =
            DistanceToSegment(layout.points[random.Below(layout.points.size())].position, line.first, line.second);
        if (distance > 0 && std::isfinite(distance)) {
            tolerance = distance;
            if (random.Chance(0.5)) tolerance = std::nextafter(distance, random.Chance(0.5) ? 0.0 : HUGE_VAL);
        }
    }

    std::vector<std::string> lines;
    for (const auto& line : layout.lines)
        lines.push_back(RepeatingName(random, "K") + "," + line.fields[0] + "," + line.fields[1] + "," +
                        line.fields[2] + "," + line.fields[3]);
    std::vector<std::string> points;
    const char* tails[] = {",12.5", ",12.5,extra", "", ",,"};
    for (const auto& point : layout.points)
        points.push_back(RepeatingName(random, "P") + "," + (random.Chance(0.5) ? "code" : "") + "," + point.east + "," +
                         point.north + tails[random.Below(4)]);
    if (!lines.empty() && random.Chance(0.1)) {
        std::string& line = lines[random.Below(lines.size())];
        line = damaged(line, random);
    }
    if (!points.empty() && random.Chance(0.1)) {
        std::string& point = points[random.Below(points.size())];
        point = random.Chance(0.5) ? "Q,code,5" : damaged(point, random);
    }
    return {JoinRecords(lines, random), JoinRecords(points, random), tolerance};
}

StepOutcome observe(const CodesCase& c, bool indexed) {
    return Observe(0, [&](StepOutcome& outcome, double&, ProgressSink& progress) {
        const DataFile lines = DataFile::FromBytes("matched.dat", c.matchedLines);
        const DataFile points = DataFile::FromBytes("points.dat", c.points);
        const PointCodesResult result = indexed ? AddPointCodes(lines, points, c.tolerance, progress)
                                                : reference::AddPointCodes(lines, points, c.tolerance, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.points, result.coded};
    });
}

TEST(PointCodesEquivalence, RandomSurveys) {
    int coded = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        RandomSource random(seed * 104729);
        const CodesCase c = randomCase(random, 12, 60);
        const StepOutcome expected = observe(c, false);
        ASSERT_EQ(observe(c, true), expected) << "seed " << seed;
        coded += !expected.counts.empty() && expected.counts[1] > 0;
        failed += !expected.failure.empty();
    }
    EXPECT_GT(coded, 150);
    EXPECT_GT(failed, 30);
}

TEST(PointCodesEquivalence, NearestSegmentFirstOnTies) {
    // Two copies of one section line under different chainages and a third line crossing them:
    // a point nearest to the copies takes the first; one beyond the ends only counts by its
    // distance to the nearer end; one nearer to the crossing line takes that.
    const CodesCase c{"1200,0,0,10,0\r\n1200b,0,0,10,0\r\n1300,5,-1,5,1\r\n",
                      "A,,2,0.004,1\r\nB,,10.006,0.005,1\r\nC,,10.008,0.008,1\r\nD,,4.999,0.004,1\r\nE,,-0.01,0,1\r\n",
                      0.01};
    const StepOutcome result = observe(c, true);
    EXPECT_EQ(result, observe(c, false));
    EXPECT_EQ(result.output, "A,1200,2,0.004,1\r\nB,1200,10.006,0.005,1\r\nC,,10.008,0.008,1\r\nD,1300,4.999,0.004,1\r\n"
                             "E,,-0.01,0,1\r\n");
}

TEST(PointCodesEquivalence, ManySectionsOnTwoThreadsOfReading) {
    // 50 sections with 1000 points each (past the size where the points are read on two
    // threads), a few points between sections, and one point that cannot be read near the end.
    std::string lines;
    std::string points;
    for (int k = 0; k < 50; ++k) {
        const double east = 439000 + 20 * k;
        const double tilt = 0.01 * (k % 50);
        lines += std::to_string(20 * k) + "," + ExactText(east - 30 * tilt) + ",3391030," + ExactText(east + 30 * tilt) +
                 ",3390970\r\n";
        for (int m = 0; m < 1000; ++m) {
            const double t = -1.2 + 2.4 * m / 999.0;  // beyond both ends at the first and last
            points += std::to_string(k) + "-" + std::to_string(m) + ",x," + ExactText(east - 30 * t * tilt + 0.004) + "," +
                      ExactText(3391000 + 30 * t) + ",1\r\n";
        }
        if (k % 13 == 0) points += "S,," + ExactText(east + 10) + ",3391000,1\r\n";
    }
    const CodesCase whole{lines, points, 0.01};
    const StepOutcome result = observe(whole, true);
    EXPECT_EQ(result, observe(whole, false));
    EXPECT_GT(result.counts[1], 50u * 800);
    const CodesCase broken{lines, points + "Z,,1\r\n" + points, 0.01};
    const StepOutcome failed = observe(broken, true);
    EXPECT_EQ(failed, observe(broken, false));
    EXPECT_FALSE(failed.failure.empty());
}

}  // namespace
}  // namespace qorvel::testing
