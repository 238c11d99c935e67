// Step 5 (check-stakes) in the assembly benchmark.

#include <benchmark/benchmark.h>

#include "checks/stake_check.h"
#include "core/data_file.h"
#include "reference/all_pairs_steps.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration stakeCheck({
    5,
    "5 check-stakes",
    "labels × stakes",
    [](const SurveyCase& c) { return std::pair{c.labels, c.stakes}; },
    [](const SurveyCase& c, Implementation implementation) {
        const DataFile labels = DataFile::Load(c.File("labels.dat"));
        const DataFile stakes = DataFile::Load(c.File("stakes.dat"));
        NullProgress progress;
        const auto result = implementation == Implementation::Indexed
                                ? CheckCentreStakes(labels, stakes, false, progress)
                                : reference::CheckCentreStakes(labels, stakes, false, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
