// The indexed centre-stake merge against the all-pairs loop: the same bytes, counts, progress
// and failures on many random labels and detail points.

#include <cmath>

#include <gtest/gtest.h>

#include "assemble/centre_stake_merge.h"
#include "core/number_read.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

struct MergeCase {
    std::string labels;
    std::string points;
    CentreStakeMergeOptions options;
};

// Where a label puts its stake: 0.4504 m from it, up and to the left.
PlanePoint expectedStake(PlanePoint label) {
    return {label.east + 0.4504 * std::sin(5.695182712812092), label.north + 0.4504 * std::cos(5.695182712812092)};
}

double distance(PlanePoint a, PlanePoint b) {
    const double dEast = a.east - b.east;
    const double dNorth = a.north - b.north;
    return std::sqrt(dEast * dEast + dNorth * dNorth);
}

MergeCase randomCase(RandomSource& random, std::size_t mostLabels, std::size_t mostPoints) {
    const double bases[] = {0, 500, 439000, 3391000, 38500000, 1e120};
    const double base = bases[random.Below(random.Chance(0.05) ? 6 : 5)];
    const double span = base > 1e100 ? base * random.Magnitude(-8, -2) : random.Magnitude(0, 4);
    const double usual[] = {0.05, 0.01, 0.5, 1e-7};
    double tolerance = usual[random.Below(4)];
    const int toleranceKind = static_cast<int>(random.Below(10));
    if (toleranceKind == 3) tolerance = 0;
    if (toleranceKind == 4) tolerance = -1;
    if (toleranceKind == 5) tolerance = span * 3;
    bool toleranceFromPair = toleranceKind < 3;

    std::vector<std::string> labels;
    std::vector<PlanePoint> expected;
    const char* texts[] = {"K1+200", "1200", "K0+020.5", "abc", "K1+2e2"};
    const std::size_t labelCount = random.Below(mostLabels + 1);
    for (std::size_t k = 0; k < labelCount; ++k) {
        const PlanePoint at{base + random.Uniform(-span, span), base + random.Uniform(-span, span)};
        std::string east = random.Chance(0.5) ? ExactText(at.east) : " " + ExactText(at.east);
        std::string north = ExactText(at.north);
        expected.push_back(expectedStake({*ReadStrict(east), *ReadStrict(north)}));
        labels.push_back(std::to_string(k + 1) + ",," + east + "," + north + ",0.000," + texts[random.Below(5)]);
    }

    std::vector<std::string> points;
    std::vector<PlanePoint> placed;
    const std::size_t pointCount = random.Below(mostPoints + 1);
    for (std::size_t k = 0; k < pointCount; ++k) {
        PlanePoint p{base + random.Uniform(-span, span), base + random.Uniform(-span, span)};
        const PlanePoint* near = nullptr;
        if (!expected.empty() && random.Chance(0.7)) {
            near = &expected[random.Below(expected.size())];
            // Anywhere around, or straight along an axis just inside the tolerance (where a box
            // drawn too tight would lose it).
            const bool alongAxis = random.Chance(0.3);
            const double angle = alongAxis ? 1.5707963267948966 * static_cast<double>(random.Below(4))
                                           : random.Uniform(0, 6.283185307179586);
            const double reach = alongAxis          ? std::fabs(tolerance) * (1 - random.Magnitude(-15, -5))
                                 : random.Chance(0.1) ? 0
                                                      : random.Uniform(0, 1.2) * std::fabs(tolerance);
            p = Nudge({near->east + reach * std::cos(angle), near->north + reach * std::sin(angle)}, 3, random);
        } else if (!placed.empty() && random.Chance(0.2)) {
            p = placed[random.Below(placed.size())];
        }
        std::string east = StrictSurveyText(p.east, random);
        std::string north = StrictSurveyText(p.north, random);
        const PlanePoint read{*ReadLenient(east), *ReadLenient(north)};
        placed.push_back(read);
        if (toleranceFromPair && near && distance(read, *near) > 0) {
            tolerance = distance(read, *near);
            toleranceFromPair = false;
        }
        points.push_back(RepeatingName(random, "P") + ",code," + east + "," + north + ",12.3456");
    }
    // Now and then one record damaged: a point cut short or without a numeric elevation, a
    // label without text or with coordinates that are no number.
    if (!points.empty() && random.Chance(0.15)) {
        std::string& point = points[random.Below(points.size())];
        const std::size_t kind = random.Below(3);
        if (kind == 0) point = "Q,,1";
        else point = point.substr(0, point.rfind(',')) + (kind == 1 ? "" : ",abc");
    }
    if (!labels.empty() && random.Chance(0.1)) {
        std::string& label = labels[random.Below(labels.size())];
        label = random.Chance(0.5) ? label.substr(0, label.rfind(',')) : "9,,2oo,3,0,K0+1";
    }
    return {JoinRecords(labels, random), JoinRecords(points, random), {tolerance, random.Chance(0.5)}};
}

template <class Merge>
StepOutcome observe(const MergeCase& c, Merge merge) {
    return Observe(0, [&](StepOutcome& outcome, double&, ProgressSink& progress) {
        const auto result = merge(DataFile::FromBytes("labels.dat", c.labels), DataFile::FromBytes("points.dat", c.points),
                                  c.options, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.stakes, result.labels};
    });
}

StepOutcome reference(const MergeCase& c) { return observe(c, &reference::MergeCentreStakes); }
StepOutcome indexed(const MergeCase& c) {
    return observe(c, [](const DataFile& labels, const DataFile& points, const CentreStakeMergeOptions& options,
                         ProgressSink& progress) { return MergeCentreStakes(labels, points, options, progress); });
}

TEST(CentreStakeMergeEquivalence, RandomLabelsAndPoints) {
    int withStakes = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        RandomSource random(seed * 104729);
        const MergeCase c = randomCase(random, 12, 60);
        const StepOutcome expected = reference(c);
        ASSERT_EQ(indexed(c), expected) << "seed " << seed;
        withStakes += !expected.counts.empty() && expected.counts[0] > 0;
        failed += !expected.failure.empty();
    }
    EXPECT_GT(withStakes, 150);
    EXPECT_GT(failed, 30);
}

TEST(CentreStakeMergeEquivalence, FailuresComeWhereTheLoopMeetsThem) {
    const std::string label = "1,,100,200,0,K0+1\r\n";
    for (const MergeCase& c : {
             // A match without elevation before a point that cannot be read, and after it.
             MergeCase{label, "A,,99.750,200.375\r\nB,,1\r\n", {}},
             MergeCase{label, "B,,1\r\nA,,99.750,200.375\r\n", {}},
             // The kept stake's elevation is no number; an earlier match's is never read.
             MergeCase{label, "A,,99.750,200.375,abc\r\nB,,99.751,200.375,x\r\n", {}},
             // The second label's coordinates, after the first has found its stake.
             MergeCase{label + "2,,1oo,1,0,K0+2\r\n", "A,,99.750,200.375,7\r\n", {}},
             // A label with its stake but no text.
             MergeCase{"1,,100,200,0\r\n", "A,,99.750,200.375,7\r\n", {}},
         }) {
        EXPECT_EQ(indexed(c), reference(c)) << c.labels << c.points;
    }
    EXPECT_EQ(indexed({label, "A,,99.750,200.375\r\nB,,1\r\n", {}}).failure,
              "points.dat:1:4: 缺少该字段（这一行只有 4 个字段）");
    EXPECT_EQ(indexed({label, "B,,1\r\nA,,99.750,200.375\r\n", {}}).failure,
              "points.dat:1:3: 缺少该字段（这一行只有 3 个字段）");
    const StepOutcome second = indexed({label + "2,,1oo,1,0,K0+2\r\n", "A,,99.750,200.375,7\r\n", {}});
    EXPECT_EQ(second.failure, "labels.dat:2:2: 不是数字：“1oo”");
    EXPECT_EQ(second.progress.size(), 1u);
}

TEST(CentreStakeMergeEquivalence, ManyPointsAtTheSamePlace) {
    // Every point where the label puts its stake: the last one is kept.
    std::string points;
    for (int k = 0; k < 500; ++k) points += "P" + std::to_string(k) + ",,99.750,200.375," + std::to_string(k) + "\r\n";
    const MergeCase c{"1,,100,200,0,K0+1\r\n2,,100,200,0,K0+2\r\n", points, {}};
    const StepOutcome result = indexed(c);
    EXPECT_EQ(result, reference(c));
    EXPECT_EQ(result.output, "1,,99.750,200.375,499.000\r\n2,,99.750,200.375,499.000\r\n");
}

}  // namespace
}  // namespace qorvel::testing
