#include "frame/steps/assembly_steps.h"

#include <algorithm>
#include <string>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "assemble/section_line_match.h"
#include "core/fields.h"

namespace qorvel::steps {

using enum FileRole;

StepReport MergeCentreStakes(StepInputs& inputs) {
    const DataFile& labels = inputs[StationLabels];
    const CentreStakeMergeOptions options{inputs.settings().stakeTolerance, inputs.settings().numericLabels};
    auto result = qorvel::MergeCentreStakes(labels, inputs[DetailPoints], options, inputs.progress());
    StepReport report{.output = std::move(result.output),
                      .summary = "本次共合成中桩坐标个数 " + std::to_string(result.stakes) + " 个！",
                      .count = result.stakes};
    // Labels none of which reads as a station give stakes without chainages: every later step
    // would join them all under one empty chainage.
    const bool anyReadable = std::any_of(labels.records().begin(), labels.records().end(), [&](const Record& label) {
        const FieldReader fields(labels, label);
        return fields.Has(5) && !LabelChainageText(fields.Text(5), options.numericLabels).empty();
    });
    if (labels.size() > 0 && !anyReadable)
        report.stopsARun = "桩号文字文件中的 " + std::to_string(labels.size()) +
                           " 个桩号文字没有一个能识别为桩号。若图上的桩号是纯数字（如 1200），"
                           "请选用“图上里程为数值”（命令行 --numeric-labels）。";
    return report;
}

StepReport MatchSectionLines(StepInputs& inputs) {
    auto result = qorvel::MatchSectionLines(inputs[CentreStakes], inputs[SectionLines], inputs.settings().matchTolerance,
                                            inputs.session().carriedAzimuth);
    return {.output = std::move(result.output),
            .summary = "本次桩号共匹配断面线：" + std::to_string(result.pairs) + " 条！",
            .count = result.pairs};
}

StepReport AddPointCodes(StepInputs& inputs) {
    auto result = qorvel::AddPointCodes(inputs[MatchedLines], inputs[DetailPoints], inputs.settings().codeTolerance,
                                        inputs.progress());
    return {.output = std::move(result.output),
            .summary = "共有 " + std::to_string(result.coded) + " 个碎步点添加了桩号代码！",
            .count = result.coded};
}

StepReport GroupDetailPoints(StepInputs& inputs) {
    auto result = qorvel::GroupDetailPoints(inputs[MatchedLines], inputs[DetailPoints], inputs.settings().groupTolerance,
                                            inputs.session().carriedAzimuth, inputs.progress());
    return {.output = std::move(result.output),
            .summary = "本次完成添加归属点号的桩号有" + std::to_string(result.stations) + "个！",
            .count = result.stations};
}

StepReport ProjectPointsOntoSectionLines(StepInputs& inputs) {
    auto result = qorvel::ProjectPointsOntoSectionLines(inputs[MatchedLines], inputs[DetailPoints],
                                                        inputs.settings().groupTolerance,
                                                        inputs.session().carriedAzimuth, inputs.progress());
    return {.output = std::move(result.output),
            .summary = "共计算横断面线上的点 " + std::to_string(result.points) + " 个！",
            .count = result.points};
}

}  // namespace qorvel::steps
