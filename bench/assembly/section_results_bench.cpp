// Step 10 in the assembly benchmark: the four files joined and every section written in the
// first layout.

#include <benchmark/benchmark.h>

#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "results/section_results.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration sections({
    4,
    "10 sections",
    "member names × points",
    // Join C compares every member name with every detail point; the other joins are far
    // smaller.
    [](const SurveyCase& c) { return std::pair{c.memberNames, c.points}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile members = DataFile::Load(c.File("members.dat"));
        const DataFile stakes = DataFile::Load(c.File("stakes.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        const DataFile lines = DataFile::Load(c.File("matched.dat"));
        const SectionInputs inputs{members, stakes, points, lines};
        double carried = 0;
        NullProgress progress;
        const auto result = implementation == Implementation::Indexed
                                ? OutputSectionResults(inputs, {}, carried, progress)
                                : reference::OutputSectionResults(inputs, {}, carried, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
