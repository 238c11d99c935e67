// The indexed section line matching against the all-pairs loop: the same bytes, counts,
// failures and carried azimuth on many random stakes and section lines.

#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "assemble/section_line_match.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

struct MatchCase {
    std::string stakes;
    std::string lines;
    double tolerance = 0;
    double carried = 0;
};

// Three decimals, as the stakes and section lines are written.
std::string SurveyTextOf(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

MatchCase randomCase(RandomSource& random, std::size_t mostStakes, std::size_t mostLines) {
    const RandomLayout layout = RandomLinesAndPoints(random, mostLines, mostStakes);
    std::vector<std::string> stakes;
    for (const auto& stake : layout.points)
        stakes.push_back(RepeatingName(random, "1") + "," + "," + stake.east + "," + stake.north + ",10.000");
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < layout.lines.size(); ++k) {
        const auto& line = layout.lines[k];
        lines.push_back(std::to_string(k + 1) + "," + line.fields[0] + "," + line.fields[1] + "," + line.fields[2] +
                        "," + line.fields[3]);
    }
    if (!stakes.empty() && random.Chance(0.08)) stakes[random.Below(stakes.size())] = "1300,,5";
    if (!lines.empty() && random.Chance(0.08)) lines[random.Below(lines.size())] = "9,1,2,1e400,4";
    return {JoinRecords(stakes, random), JoinRecords(lines, random), layout.tolerance, random.Uniform(0, 360)};
}

template <class Match>
StepOutcome observe(const MatchCase& c, Match match) {
    return Observe(c.carried, [&](StepOutcome& outcome, double& carried, ProgressSink&) {
        const auto result = match(DataFile::FromBytes("stakes.dat", c.stakes), DataFile::FromBytes("lines.dat", c.lines),
                                  c.tolerance, carried);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.pairs};
    });
}

StepOutcome reference(const MatchCase& c) { return observe(c, &reference::MatchSectionLines); }
StepOutcome indexed(const MatchCase& c) {
    return observe(c, [](const DataFile& stakes, const DataFile& lines, double tolerance, double& carried) {
        return MatchSectionLines(stakes, lines, tolerance, carried);
    });
}

TEST(SectionLineMatchEquivalence, RandomStakesAndLines) {
    int withPairs = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        RandomSource random(seed * 7919);
        const MatchCase c = randomCase(random, 60, 12);
        const StepOutcome expected = reference(c);
        ASSERT_EQ(indexed(c), expected) << "seed " << seed;
        withPairs += !expected.counts.empty() && expected.counts[0] > 0;
        failed += !expected.failure.empty();
    }
    EXPECT_GT(withPairs, 150);
    EXPECT_GT(failed, 15);
}

TEST(SectionLineMatchEquivalence, PairsInStakeOrderThenLineOrder) {
    // Lines listed against the stakes' order, a stake on two lines, a line through two stakes,
    // a stake 1 km out on a line's extension, a line with coinciding ends.
    const MatchCase c{"1200,,100,50,1\r\n1220,,120,50,1\r\n1240,,140,50,1\r\n1260,,1135,1060,1\r\n",
                      "1,120,40,120,60\r\n2,90,50.004,150,50.004\r\n3,100,40,100.0001,60\r\n"
                      "4,135,60,134,59\r\n5,300,50.009,300,50.009\r\n",
                      0.01, 90};
    const StepOutcome result = indexed(c);
    EXPECT_EQ(result, reference(c));
    EXPECT_EQ(result.output,
              "1200,90,50.004,150,50.004\r\n"
              "1200,100,40,100.0001,60\r\n"
              "1200,300,50.009,300,50.009\r\n"
              "1220,120,40,120,60\r\n"
              "1220,90,50.004,150,50.004\r\n"
              "1220,300,50.009,300,50.009\r\n"
              "1240,90,50.004,150,50.004\r\n"
              "1240,300,50.009,300,50.009\r\n"
              "1260,135,60,134,59\r\n");
}

TEST(SectionLineMatchEquivalence, FailuresAndTheAzimuthLeftBehind) {
    for (const MatchCase& c : {
             MatchCase{"1200,,100\r\n1220,,120,50\r\n", "1,0,0,10,10\r\n", 0.01, 5},        // first stake
             MatchCase{"1200,,100,50\r\n1220,,120\r\n", "1,0,0,10,10\r\n", 0.01, 5},        // second stake
             MatchCase{"1200,,100,50\r\n1220,,120\r\n", "1,0,0,10,10\r\n2,0,0,1\r\n", 0.01, 5},  // a line first
             MatchCase{"1200,,100\r\n", "", 0.01, 5},                                       // never read
         }) {
        EXPECT_EQ(indexed(c), reference(c)) << c.stakes << c.lines;
    }
    // The second stake fails after the first has met the line: from (100, 50) to its foot on
    // the diagonal, (75, 75), is north-west.
    const StepOutcome failed = indexed({"1200,,100,50\r\n1220,,120\r\n", "1,0,0,10,10\r\n", 0.01, 5});
    EXPECT_EQ(failed.failure, "stakes.dat:2:3: 缺少该字段（这一行只有 3 个字段）");
    EXPECT_NEAR(std::bit_cast<double>(failed.carriedBits), 315.0, 1e-9);
}

TEST(SectionLineMatchEquivalence, ARouteLongEnoughForTwoThreads) {
    // 1200 stakes along a curving route, each section line drawn through its stake; lines on
    // the curve's inside pass near other stakes on their extension.
    std::string stakes;
    std::string lines;
    for (int k = 0; k < 1200; ++k) {
        const double angle = k * 0.002;
        const double east = 439000 + 5000 * std::sin(angle);
        const double north = 3391000 + 5000 * (1 - std::cos(angle));
        stakes += std::to_string(20 * k) + ",," + SurveyTextOf(east) + "," + SurveyTextOf(north) + ",10.000\r\n";
        const double across[2] = {-std::sin(angle + 1.5707963267948966), std::cos(angle + 1.5707963267948966)};
        lines += std::to_string(k + 1) + "," + SurveyTextOf(east - 30 * across[1]) + "," +
                 SurveyTextOf(north + 30 * across[0]) + "," + SurveyTextOf(east + 30 * across[1]) + "," +
                 SurveyTextOf(north - 30 * across[0]) + "\r\n";
    }
    const MatchCase c{stakes, lines, 0.01, 180};
    const StepOutcome result = indexed(c);
    EXPECT_EQ(result, reference(c));
    EXPECT_GE(result.counts[0], 1200u);
}

}  // namespace
}  // namespace qorvel::testing
