#include "frame/steps/check_steps.h"

#include <string>

#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "checks/line_check.h"
#include "checks/stake_check.h"
#include "core/fields.h"

namespace qorvel::steps {

namespace {
// The text after the `count`-th comma of `line` (a label may itself hold commas).
std::string_view AfterCommas(std::string_view line, int count) {
    for (int comma = 0; comma < count; ++comma) {
        const std::size_t at = line.find(',');
        if (at == std::string_view::npos) return line;
        line.remove_prefix(at + 1);
    }
    return line;
}
}  // namespace

StepResult CheckCentreStakes(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::StakeCheck, [](StepContext& step) {
        const DataFile labels = step.OpenInput(FileRole::StationLabels);
        const DataFile stakes = step.OpenInput(FileRole::CentreStakes);
        const std::string output = step.AskOutput();
        const auto result = qorvel::CheckCentreStakes(labels, stakes, step.settings().numericLabels, step.progress());
        for (const LabelProblem& problem : result.found)
            step.Problem(problem.reason, DisplayText(AfterCommas(labels[problem.label].text, 5)));
        step.Finish(output, result.output,
                    "共检查桩号文字 " + std::to_string(result.labels) + " 个，有问题的 " +
                        std::to_string(result.problems) + " 个！",
                    result.labels);
    });
}

StepResult CheckSectionLines(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::LineCheck, [](StepContext& step) {
        const DataFile stakes = step.OpenInput(FileRole::CentreStakes);
        const DataFile lines = step.OpenInput(FileRole::MatchedLines);
        const std::string output = step.AskOutput();
        const auto result = qorvel::CheckSectionLines(stakes, lines, step.progress());
        for (const StakeProblem& problem : result.found)
            step.Problem(problem.reason, "中桩 " + DisplayText(FirstField(stakes[problem.stake].text)));
        step.Finish(output, result.output,
                    "共检查中桩 " + std::to_string(result.stakes) + " 个，缺少断面线 " +
                        std::to_string(result.missing) + " 个，断面线重复 " + std::to_string(result.repeated) +
                        " 个！",
                    result.stakes);
    });
}

StepResult AddPointCodes(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::PointCodes, [](StepContext& step) {
        const DataFile lines = step.OpenInput(FileRole::MatchedLines);
        const DataFile points = step.OpenInput(FileRole::DetailPoints);
        const std::string output = step.AskOutput();
        const auto result = qorvel::AddPointCodes(lines, points, step.settings().codeTolerance, step.progress());
        step.Finish(output, result.output, "共有 " + std::to_string(result.coded) + " 个碎步点添加了桩号代码！",
                    result.coded);
    });
}

StepResult ProjectPointsOntoSectionLines(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::PointProjection, [](StepContext& step) {
        const DataFile lines = step.OpenInput(FileRole::MatchedLines);
        const DataFile points = step.OpenInput(FileRole::DetailPoints);
        const std::string output = step.AskOutput();
        const auto result = qorvel::ProjectPointsOntoSectionLines(lines, points, step.settings().groupTolerance,
                                                                  step.session().carriedAzimuth, step.progress());
        step.Finish(output, result.output, "共计算横断面线上的点 " + std::to_string(result.points) + " 个！",
                    result.points);
    });
}

}  // namespace qorvel::steps
