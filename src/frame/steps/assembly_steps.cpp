#include "frame/steps/assembly_steps.h"

#include <algorithm>
#include <string>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"
#include "core/fields.h"

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
        // Labels none of which reads as a station give stakes without chainages: every later
        // step would join them all under one empty chainage.
        const bool anyReadable = std::any_of(labels.records().begin(), labels.records().end(), [&](const Record& label) {
            const FieldReader fields(labels, label);
            return fields.Has(5) && !LabelChainageText(fields.Text(5), options.numericLabels).empty();
        });
        if (labels.size() > 0 && !anyReadable)
            step.result().stopsARun = "桩号文字文件中的 " + std::to_string(labels.size()) +
                                      " 个桩号文字没有一个能识别为桩号。若图上的桩号是纯数字（如 1200），"
                                      "请选用“图上里程为数值”（命令行 --numeric-labels）。";
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
