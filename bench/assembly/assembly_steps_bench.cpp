// Steps 3, 6 and 9 in the assembly benchmark.

#include <benchmark/benchmark.h>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"
#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

bool indexed(Implementation implementation) { return implementation == Implementation::Indexed; }

const StepRegistration merge({
    1,
    "3 stakes",
    "labels × points",
    [](const SurveyCase& c) { return std::pair{c.labels, c.points}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile labels = DataFile::Load(c.File("labels.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        NullProgress progress;
        const auto result = indexed(implementation) ? MergeCentreStakes(labels, points, {}, progress)
                                                    : reference::MergeCentreStakes(labels, points, {}, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

const StepRegistration match({
    2,
    "6 match",
    "stakes × lines",
    [](const SurveyCase& c) { return std::pair{c.stakes, c.lines}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile stakes = DataFile::Load(c.File("stakes.dat"));
        const DataFile lines = DataFile::Load(c.File("lines.dat"));
        double carried = 0;
        const auto result = indexed(implementation) ? MatchSectionLines(stakes, lines, 0.01, carried)
                                                    : reference::MatchSectionLines(stakes, lines, 0.01, carried);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

const StepRegistration group({
    3,
    "9 group",
    "matched lines × points",
    [](const SurveyCase& c) { return std::pair{c.matched, c.points}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile matched = DataFile::Load(c.File("matched.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        double carried = 0;
        NullProgress progress;
        const auto result = indexed(implementation)
                                ? GroupDetailPoints(matched, points, 0.05, carried, progress)
                                : reference::GroupDetailPoints(matched, points, 0.05, carried, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
