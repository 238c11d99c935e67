#include "frame/steps/check_steps.h"

#include <string>

#include "checks/line_check.h"
#include "checks/section_check.h"
#include "checks/stake_check.h"
#include "core/fields.h"
#include "core/text_encoding.h"
#include "frame/section_options.h"
#include "frame/section_problems.h"
#include "frame/steps/section_files.h"

namespace qorvel::steps {

using enum FileRole;
using Subject = CheckProblem::Subject;

StepReport CheckCentreStakes(StepInputs& inputs) {
    auto result = qorvel::CheckCentreStakes(inputs[StationLabels], inputs[CentreStakes], inputs.settings().numericLabels,
                                            inputs.progress());
    StepReport report{.output = std::move(result.output),
                      .summary = "共检查桩号文字 " + std::to_string(result.labels) + " 个，有问题的 " +
                                 std::to_string(result.problems) + " 个！",
                      .count = result.labels};
    for (const LabelProblem& problem : result.found)
        report.problems.push_back({.reason = problem.reason, .subject = Subject::Label, .station = DisplayText(problem.station)});
    return report;
}

StepReport CheckSectionLines(StepInputs& inputs) {
    auto result = qorvel::CheckSectionLines(inputs[CentreStakes], inputs[MatchedLines], inputs.progress());
    StepReport report{.output = std::move(result.output),
                      .summary = "共检查中桩 " + std::to_string(result.stakes) + " 个，缺少断面线 " +
                                 std::to_string(result.missing) + " 个，断面线重复 " + std::to_string(result.repeated) +
                                 " 个！",
                      .count = result.stakes};
    for (const StakeProblem& problem : result.found)
        report.problems.push_back({.reason = problem.reason, .subject = Subject::Stake, .station = DisplayText(problem.chainage)});
    return report;
}

StepReport CheckSections(StepInputs& inputs) {
    const SectionCheckOptions options = SectionCheckOptionsOf(inputs.settings());
    const std::shared_ptr<const HeldSections> run = SectionsOfTheRun(inputs, options.sections);
    auto result = run ? CheckBuiltSections(run->built, inputs[FileRole::MatchedLines], options)
                      : qorvel::CheckSections(SectionInputsOf(inputs), options, inputs.session().carriedAzimuth,
                                              inputs.progress());
    StepReport report{.output = std::move(result.output), .summary = SectionCheckSummary(result), .count = result.sections};
    for (const SectionProblem& problem : result.problems) report.problems.push_back(CheckProblemOf(problem));
    return report;
}

}  // namespace qorvel::steps
