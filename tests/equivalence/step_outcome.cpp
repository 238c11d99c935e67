#include "equivalence/step_outcome.h"

#include <bit>

#include "core/step_error.h"

namespace qorvel::testing {

std::ostream& operator<<(std::ostream& out, const StepOutcome& outcome) {
    out << "{output " << outcome.output.size() << " bytes in " << outcome.outputLines << " lines, counts";
    for (const std::size_t count : outcome.counts) out << ' ' << count;
    out << ", " << outcome.progress.size() << " progress calls, carried azimuth "
        << std::bit_cast<double>(outcome.carriedBits) << ", failure \"" << outcome.failure << "\"}";
    return out;
}

StepOutcome Observe(double carried, const std::function<void(StepOutcome&, double&, ProgressSink&)>& step) {
    StepOutcome outcome;
    RecordingProgress progress;
    try {
        step(outcome, carried, progress);
    } catch (const StepError& error) {
        outcome = StepOutcome{};
        outcome.failure = error.file() + ":" + std::to_string(error.line()) + ":" + std::to_string(error.field()) +
                          ": " + error.reason();
    }
    outcome.progress = std::move(progress.calls);
    outcome.carriedBits = std::bit_cast<std::uint64_t>(carried);
    return outcome;
}

}  // namespace qorvel::testing
