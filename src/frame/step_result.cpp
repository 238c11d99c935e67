#include "frame/step_result.h"

namespace qorvel {

std::string ProblemConcerns(const CheckProblem& problem) {
    switch (problem.subject) {
        case CheckProblem::Subject::Label: return problem.station;
        case CheckProblem::Subject::Stake: return "中桩 " + problem.station;
        case CheckProblem::Subject::Section:
        case CheckProblem::Subject::StationPair: break;
    }
    // As the section check's report names it: the chainage, the next one, the side, the figures.
    std::string text = "桩号 " + problem.station;
    if (!problem.nextStation.empty()) text += "," + problem.nextStation;
    if (!problem.side.empty()) text += "," + problem.side;
    for (const std::string& value : problem.values) text += "," + value;
    return text;
}

}  // namespace qorvel
