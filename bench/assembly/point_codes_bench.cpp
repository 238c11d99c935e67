// Step 8 (add-codes) in the assembly benchmark.

#include <benchmark/benchmark.h>

#include "assemble/point_codes.h"
#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration pointCodes({
    7,
    "8 add-codes",
    "points × matched lines",
    [](const SurveyCase& c) { return std::pair{c.points, c.matched}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile matched = DataFile::Load(c.File("matched.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        NullProgress progress;
        const auto result = implementation == Implementation::Indexed
                                ? AddPointCodes(matched, points, 0.01, progress)
                                : reference::AddPointCodes(matched, points, 0.01, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
