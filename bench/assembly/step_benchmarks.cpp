#include "step_benchmarks.h"

namespace qorvel::bench {

std::vector<StepBenchmark>& StepBenchmarks() {
    static std::vector<StepBenchmark> steps;
    return steps;
}

}  // namespace qorvel::bench
