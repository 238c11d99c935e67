// The indexed detail point grouping against the all-pairs loop: the same bytes, counts,
// progress, failures and carried azimuth on many random surveys.

#include <gtest/gtest.h>

#include "assemble/detail_point_grouping.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

struct GroupingCase {
    std::string matchedLines;
    std::string points;
    double tolerance = 0;
    double carried = 0;
};

// A record with one field damaged the way a hand-edited file may be: cut short, or a number
// beyond any coordinate.
std::string damaged(std::string record, RandomSource& random) {
    if (random.Chance(0.5)) return record.substr(0, record.rfind(','));
    const std::size_t comma = record.find(',', record.find(',') + 1);
    return record.substr(0, comma + 1) + "1e999" + record.substr(record.find(',', comma + 1));
}

GroupingCase randomCase(RandomSource& random, std::size_t mostLines, std::size_t mostPoints) {
    const RandomLayout layout = RandomLinesAndPoints(random, mostLines, mostPoints);
    std::vector<std::string> lines;
    for (const auto& line : layout.lines)
        lines.push_back(RepeatingName(random, "K") + "," + line.fields[0] + "," + line.fields[1] + "," +
                        line.fields[2] + "," + line.fields[3]);
    std::vector<std::string> points;
    for (const auto& point : layout.points)
        points.push_back(RepeatingName(random, "P") + ",code," + point.east + "," + point.north + ",12.5");
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

template <class Group>
StepOutcome observe(const GroupingCase& c, Group group) {
    return Observe(c.carried, [&](StepOutcome& outcome, double& carried, ProgressSink& progress) {
        const auto result = group(DataFile::FromBytes("matched.dat", c.matchedLines),
                                  DataFile::FromBytes("points.dat", c.points), c.tolerance, carried, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.stations, result.memberships};
    });
}

StepOutcome reference(const GroupingCase& c) { return observe(c, &reference::GroupDetailPoints); }
StepOutcome indexed(const GroupingCase& c) {
    return observe(c, [](const DataFile& lines, const DataFile& points, double tolerance, double& carried,
                         ProgressSink& progress) { return GroupDetailPoints(lines, points, tolerance, carried, progress); });
}

TEST(DetailPointGroupingEquivalence, RandomSurveys) {
    int withMembers = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        RandomSource random(seed);
        const GroupingCase c = randomCase(random, 12, 60);
        const StepOutcome expected = reference(c);
        ASSERT_EQ(indexed(c), expected) << "seed " << seed;
        withMembers += !expected.counts.empty() && expected.counts[1] > 0;
        failed += !expected.failure.empty();
    }
    // The surveys exercise what they are meant to.
    EXPECT_GT(withMembers, 150);
    EXPECT_GT(failed, 30);
}

TEST(DetailPointGroupingEquivalence, ToleranceExactlyAtAPointsDistance) {
    // A point built a few units in the last place from the tolerance of a slanting line, and the
    // tolerance set to its computed distance and the doubles either side: in, out, out.
    const std::string lines = "1200,439000.125,3391000.5,439010.75,3391003.25\r\n";
    const PlanePoint a{439000.125, 3391000.5};
    const PlanePoint b{439010.75, 3391003.25};
    const PlanePoint p{439004.5, 3391001.5};
    double unused = 0;
    const double distance = DistanceToLine(p, a, b, unused);
    const std::string points = "A,," + ExactText(p.east) + "," + ExactText(p.north) + ",1\r\n";
    for (const double tolerance : {std::nextafter(distance, 1.0), distance, std::nextafter(distance, 0.0)}) {
        const GroupingCase c{lines, points, tolerance, 7.5};
        EXPECT_EQ(indexed(c), reference(c));
    }
    EXPECT_EQ(indexed({lines, points, std::nextafter(distance, 1.0), 0}).output, "1200,A\r\n");
    EXPECT_EQ(indexed({lines, points, distance, 0}).output, "1200,\r\n");
}

TEST(DetailPointGroupingEquivalence, TheCarriedAzimuthSkipsPairsAtDistanceZero) {
    // The last points lie exactly on the last (east-west) line: their feet are the points
    // themselves and leave the azimuth alone, so the one left is the pair before them.
    const std::string lines = "1200,0,0,10,10\r\n1220,0,5,10,5\r\n";
    const std::string points = "A,,3,1,0\r\nB,,4,5,0\r\nC,,7,5,0\r\n";
    const GroupingCase c{lines, points, 0.05, 33.0};
    const StepOutcome result = indexed(c);
    EXPECT_EQ(result, reference(c));
    // Point A lies south of the line at northing 5: its foot is due north of it.
    EXPECT_EQ(std::bit_cast<double>(result.carriedBits), 0.0);
    // Every pair at distance zero: the azimuth handed in stays.
    const GroupingCase allOnLines{"1200,0,5,10,5\r\n", "B,,4,5,0\r\nC,,7,5,0\r\n", 0.05, 33.0};
    EXPECT_EQ(std::bit_cast<double>(indexed(allOnLines).carriedBits), 33.0);
    EXPECT_EQ(indexed(allOnLines), reference(allOnLines));
}

TEST(DetailPointGroupingEquivalence, FailuresComeWhereTheLoopMeetsThem) {
    const std::string points = "A,,1,1,0\r\nB,,2,2,0\r\n\r\nC,,3\r\nD,,4,4,0\r\n";
    const std::string goodPoints = "A,,1,1,0\r\nB,,2,2,0\r\n";
    for (const GroupingCase& c : {
             GroupingCase{"1200,0,0,10,10\r\n1220,0,0,10\r\n", points, 0.05, 1.0},      // the point first
             GroupingCase{"1200,0,0,10\r\n", points, 0.05, 1.0},                        // the first line first
             GroupingCase{"1200,0,0,10,10\r\n1220,0,0,1e999,5\r\n", goodPoints, 0.05, 1.0},  // the second line
             GroupingCase{"1200,0,0\r\n", "", 0.05, 1.0},                               // never read
         }) {
        EXPECT_EQ(indexed(c), reference(c)) << c.matchedLines;
    }
    EXPECT_EQ(indexed({"1200,0,0,10,10\r\n1220,0,0,10\r\n", points, 0.05, 1.0}).failure,
              "points.dat:4:3: 缺少该字段（这一行只有 3 个字段）");
    const StepOutcome second = indexed({"1200,0,0,10,10\r\n1220,0,0,1e999,5\r\n", goodPoints, 0.05, 1.0});
    EXPECT_EQ(second.failure, "matched.dat:2:3: 数值超出范围：“1e999”");
    EXPECT_EQ(second.progress.size(), 1u);  // the first station was done
}

TEST(DetailPointGroupingEquivalence, PointsFarOutOnTheExtension) {
    // Section lines 20 m long; the points lie 50 km beyond their ends, within 0.05 of the line.
    std::string lines;
    std::string points;
    for (int k = 0; k < 20; ++k) {
        const double east = 439000 + 20 * k;
        lines += std::to_string(1000 + 20 * k) + "," + ExactText(east) + ",3391000," + ExactText(east + 0.3) +
                 ",3391020\r\n";
        const double t = 50000.0 / 20;  // along the line, in line lengths
        points += "F" + std::to_string(k) + ",," + ExactText(east + 0.3 * t + 0.04) + "," +
                  ExactText(3391000 + 20 * t) + ",0\r\n";
    }
    const GroupingCase c{lines, points, 0.05, 0};
    const StepOutcome result = indexed(c);
    EXPECT_EQ(result, reference(c));
    EXPECT_EQ(result.counts[1], 20u);
}

TEST(DetailPointGroupingEquivalence, ARouteLongEnoughForTwoThreads) {
    // 1100 sections along a gently curving route, a point or two on each, a few strays, and a
    // line that cannot be read near the end (so the lines before it are written first).
    std::string lines;
    std::string points;
    for (int k = 0; k < 1100; ++k) {
        const double east = 439000 + 20 * k;
        const double north = 3391000 + 0.002 * k * k;
        const double tilt = 0.004 * k;  // the section's direction turns with the route
        const std::string chainage = std::to_string(20 * k);
        lines += chainage + "," + ExactText(east - 30 * tilt) + "," + ExactText(north + 30) + "," +
                 ExactText(east + 30 * tilt) + "," + ExactText(north - 30) + "\r\n";
        points += "P" + chainage + ",," + ExactText(east + 0.01) + "," + ExactText(north) + ",1\r\n";
        if (k % 3 == 0) points += "Q" + chainage + ",," + ExactText(east + 10 * tilt) + "," + ExactText(north - 10) + ",1\r\n";
        if (k % 97 == 0) points += "S" + chainage + ",," + ExactText(east + 5) + "," + ExactText(north + 5) + ",1\r\n";
    }
    const GroupingCase whole{lines, points, 0.05, 45};
    const StepOutcome result = indexed(whole);
    EXPECT_EQ(result, reference(whole));
    EXPECT_EQ(result.counts[0], 1100u);
    const GroupingCase broken{lines + "9999,1,2,3\r\n" + lines, points, 0.05, 45};
    const StepOutcome failed = indexed(broken);
    EXPECT_EQ(failed, reference(broken));
    EXPECT_EQ(failed.progress.size(), 1100u);
}

}  // namespace
}  // namespace qorvel::testing
