#include "frame/section_problems.h"

#include "core/fields.h"

namespace qorvel {

CheckProblem CheckProblemOf(const SectionProblem& problem) {
    const bool pair = problem.section == SectionProblem::kNoSection;
    return {.reason = std::string(SectionProblemReasonText(problem.reason)),
            .subject = pair ? CheckProblem::Subject::StationPair : CheckProblem::Subject::Section,
            .station = DisplayText(problem.chainage),
            .nextStation = DisplayText(problem.nextChainage),
            .side = std::string(ProblemSideText(problem.side)),
            .values = problem.values};
}

}  // namespace qorvel
