// The section check in the assembly benchmark: the sections built as step 10 builds them, then
// checked. It has no all-pairs reference; its time is read against step 10's.

#include <benchmark/benchmark.h>

#include "checks/section_check.h"
#include "core/data_file.h"
#include "step_benchmarks.h"

namespace qorvel::bench {
namespace {

const StepRegistration sectionCheck({
    9,
    "12 check-sections",
    "(built as step 10)",
    nullptr,
    [](const SurveyCase& c, Implementation) {
        const DataFile members = DataFile::Load(c.File("members.dat"));
        const DataFile stakes = DataFile::Load(c.File("stakes.dat"));
        const DataFile points = DataFile::Load(c.File("points.dat"));
        const DataFile lines = DataFile::Load(c.File("matched.dat"));
        double carried = 0;
        NullProgress progress;
        const SectionCheckResult result = CheckSections({members, stakes, points, lines}, {}, carried, progress);
        benchmark::DoNotOptimize(result.output.bytes().data());
    },
});

}  // namespace
}  // namespace qorvel::bench
