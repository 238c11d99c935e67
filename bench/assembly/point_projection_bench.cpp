// Step 11 (project-points) in the assembly benchmark.

#include <benchmark/benchmark.h>

#include "assemble/point_projection.h"
#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration pointProjection({
    8,
    "11 project-points",
    "matched lines × points",
    [](const SurveyCase& c) { return std::pair{c.matched, c.points}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile matched = DataFile::Load(c.File("matched.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        double carried = 0;
        NullProgress progress;
        const auto result = implementation == Implementation::Indexed
                                ? ProjectPointsOntoSectionLines(matched, points, 0.05, carried, progress)
                                : reference::ProjectPointsOntoSectionLines(matched, points, 0.05, carried, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
