#include "app/steps/assembly_steps.h"

#include <string>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"

namespace qorvel::steps {

StepResult MergeCentreStakes(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::CentreStakes, [](StepContext& step) {
        const DataFile labels = step.OpenInput(FileRole::StationLabels);
        const DataFile points = step.OpenInput(FileRole::DetailPoints);
        const std::string output = step.AskOutput();
        const CentreStakeMergeOptions options{step.settings().stakeTolerance, step.settings().numericLabels};
        const auto result = qorvel::MergeCentreStakes(labels, points, options, step.progress());
        step.Finish(output, result.output, "本次共合成中桩坐标个数 " + std::to_string(result.stakes) + " 个！",
                    result.stakes);
    });
}

StepResult MatchSectionLines(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::LineMatch, [](StepContext& step) {
        const DataFile stakes = step.OpenInput(FileRole::CentreStakes);
        const DataFile lines = step.OpenInput(FileRole::SectionLines);
        const std::string output = step.AskOutput();
        const auto result = qorvel::MatchSectionLines(stakes, lines, step.settings().matchTolerance,
                                                      step.session().carriedAzimuth);
        step.Finish(output, result.output, "本次桩号共匹配断面线：" + std::to_string(result.pairs) + " 条！",
                    result.pairs);
    });
}

StepResult GroupDetailPoints(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::Membership, [](StepContext& step) {
        const DataFile lines = step.OpenInput(FileRole::MatchedLines);
        const DataFile points = step.OpenInput(FileRole::DetailPoints);
        const std::string output = step.AskOutput();
        const auto result = qorvel::GroupDetailPoints(lines, points, step.settings().groupTolerance,
                                                      step.session().carriedAzimuth, step.progress());
        step.Finish(output, result.output,
                    "本次完成添加归属点号的桩号有" + std::to_string(result.stations) + "个！", result.stations);
    });
}

}  // namespace qorvel::steps
