// Step 7 (check-lines) in the assembly benchmark.

#include <benchmark/benchmark.h>

#include "checks/line_check.h"
#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration lineCheck({
    6,
    "7 check-lines",
    "stakes × matched lines",
    [](const SurveyCase& c) { return std::pair{c.stakes, c.matched}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile stakes = DataFile::Load(c.File("stakes.dat"));
        const DataFile matched = DataFile::Load(c.File("matched.dat"));
        NullProgress progress;
        const auto result = implementation == Implementation::Indexed
                                ? CheckSectionLines(stakes, matched, progress)
                                : reference::CheckSectionLines(stakes, matched, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
