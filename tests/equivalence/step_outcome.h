#pragma once
// What a run of a step shows the world, gathered so that two implementations can be compared
// field by field: the output bytes, the counts, the progress calls, the failure, and the azimuth
// left for the next step.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/progress.h"
#include "support/recording_progress.h"

namespace qorvel::testing {

struct StepOutcome {
    std::string output;
    std::vector<std::size_t> counts;
    std::vector<std::string> progress;
    std::string failure;           // file, line, field and reason; empty when the step completed
    std::uint64_t carriedBits = 0;  // the carried azimuth's bits (a NaN compares too)
    std::size_t outputLines = 0;

    bool operator==(const StepOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const StepOutcome& outcome);

// Runs `step`, which fills in output, counts and outputLines; a StepError becomes `failure`.
// `carried` is the azimuth handed in, and read back afterwards (also after a failure).
StepOutcome Observe(double carried, const std::function<void(StepOutcome&, double&, ProgressSink&)>& step);

}  // namespace qorvel::testing
