// The checks of centre stakes and section lines, which look chainages up by their text, against
// the loops that compare every pair: the same bytes, counts, progress and failures.

#include <gtest/gtest.h>

#include "checks/line_check.h"
#include "checks/stake_check.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"

namespace qorvel::testing {
namespace {

// Chainage texts that repeat, differ only by a blank or a trailing zero, or are empty.
std::string randomChainage(RandomSource& random) {
    const char* texts[] = {"1200", "1220", "1200.5", "1200 ", "01200", "", "1240", "20", "1200.50"};
    return texts[random.Below(9)];
}

// Station labels as the drawing holds them, some of them unreadable or plain numbers.
std::string randomLabel(RandomSource& random) {
    const char* texts[] = {"K1+200", "K1+220", "K1+200.5", "K1+2e2", "K 1 + 200", "1200", "1220", "abc", "K", "1200.50",
                           "K0+020", "K1+240 "};
    return texts[random.Below(12)];
}

struct CheckCase {
    std::string first;   // labels (step 5) or centre stakes (step 7)
    std::string second;  // centre stakes (step 5) or matched section lines (step 7)
    bool numericLabels = false;
};

CheckCase randomCase(RandomSource& random, bool labels) {
    std::vector<std::string> first;
    const std::size_t firstCount = random.Below(14);
    for (std::size_t k = 0; k < firstCount; ++k) {
        if (labels) first.push_back(std::to_string(k + 1) + ",,439000.125,3391000.5,0.000," + randomLabel(random));
        else first.push_back(randomChainage(random) + ",,439000.125,3391000.500,52.300");
    }
    // Now and then a label without its text, which fails the step when it is reached.
    if (labels && !first.empty() && random.Chance(0.1)) first[random.Below(first.size())] = "9,,1,2,0.000";
    std::vector<std::string> second;
    const std::size_t secondCount = random.Below(14);
    for (std::size_t k = 0; k < secondCount; ++k)
        second.push_back(randomChainage(random) + (random.Chance(0.2) ? "" : ",1,2,3,4"));
    return {JoinRecords(first, random), JoinRecords(second, random), random.Chance(0.5)};
}

StepOutcome observeStakes(const CheckCase& c, bool indexed) {
    return Observe(0, [&](StepOutcome& outcome, double&, ProgressSink& progress) {
        const DataFile labels = DataFile::FromBytes("labels.dat", c.first);
        const DataFile stakes = DataFile::FromBytes("stakes.dat", c.second);
        const StakeCheckResult result = indexed ? CheckCentreStakes(labels, stakes, c.numericLabels, progress)
                                                : reference::CheckCentreStakes(labels, stakes, c.numericLabels, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.labels, result.problems};
    });
}

StepOutcome observeLines(const CheckCase& c, bool indexed) {
    return Observe(0, [&](StepOutcome& outcome, double&, ProgressSink& progress) {
        const DataFile stakes = DataFile::FromBytes("stakes.dat", c.first);
        const DataFile lines = DataFile::FromBytes("matched.dat", c.second);
        const LineCheckResult result = indexed ? CheckSectionLines(stakes, lines, progress)
                                               : reference::CheckSectionLines(stakes, lines, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.stakes, result.missing, result.repeated};
    });
}

TEST(ChainageChecksEquivalence, StakeCheckOnRandomLabels) {
    int problems = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        RandomSource random(seed * 31);
        const CheckCase c = randomCase(random, true);
        const StepOutcome expected = observeStakes(c, false);
        ASSERT_EQ(observeStakes(c, true), expected) << "seed " << seed;
        problems += !expected.counts.empty() && expected.counts[1] > 0;
        failed += !expected.failure.empty();
    }
    EXPECT_GT(problems, 150);
    EXPECT_GT(failed, 10);
}

TEST(ChainageChecksEquivalence, LineCheckOnRandomStakes) {
    int missing = 0;
    int repeated = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        RandomSource random(seed * 37);
        const CheckCase c = randomCase(random, false);
        const StepOutcome expected = observeLines(c, false);
        ASSERT_EQ(observeLines(c, true), expected) << "seed " << seed;
        missing += expected.counts[1] > 0;
        repeated += expected.counts[2] > 0;
    }
    EXPECT_GT(missing, 100);
    EXPECT_GT(repeated, 100);
}

TEST(ChainageChecksEquivalence, ManyStationsEachOnceTwiceOrNever) {
    // A route of 3000 stations: every fifth stake without a section line, every seventh with
    // two (every 35th with one, from the second).
    std::string stakes;
    std::string lines;
    for (int k = 0; k < 3000; ++k) {
        const std::string chainage = std::to_string(20 * k);
        stakes += chainage + ",,439000.125,3391000.500,52.300\r\n";
        if (k % 5 != 0) lines += chainage + ",1,2,3,4\r\n";
        if (k % 7 == 0) lines += chainage + ",5,6,7,8\r\n";
    }
    const CheckCase c{stakes, lines};
    const StepOutcome result = observeLines(c, true);
    EXPECT_EQ(result, observeLines(c, false));
    EXPECT_EQ(result.counts, (std::vector<std::size_t>{3000, 600 - 86, 429 - 86}));
}

}  // namespace
}  // namespace qorvel::testing
