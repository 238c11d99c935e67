#include "frame/steps/assembly_steps.h"

#include <algorithm>
#include <string>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "assemble/section_line_match.h"
#include "core/decimal_text.h"
#include "core/fields.h"

namespace qorvel::steps {

using enum FileRole;

namespace {

// "“桩号文字插入点与中桩点允许偏差值”（0.05 米）": a tolerance as the settings dialog names it.
std::string ToleranceNamed(SettingId id, const Settings& settings) {
    const ToleranceSetting& tolerance = *FindToleranceSetting(id);
    return "“" + std::string(tolerance.caption) + "”（" + FormatGeneral(settings.*tolerance.value) + " 米）";
}

}  // namespace

StepReport MergeCentreStakes(StepInputs& inputs) {
    const DataFile& labels = inputs[StationLabels];
    const DataFile& points = inputs[DetailPoints];
    const CentreStakeMergeOptions options{inputs.settings().stakeTolerance, inputs.settings().numericLabels};
    auto result = qorvel::MergeCentreStakes(labels, points, options, inputs.progress());
    StepReport report{.output = std::move(result.output),
                      .summary = "本次共合成中桩坐标个数 " + std::to_string(result.stakes) + " 个！",
                      .count = result.stakes};
    if (labels.empty() || points.empty()) return report;
    if (result.stakes == 0) {
        report.caution = StepCaution{"没有一个桩号文字在允许偏差内找到中桩点：可能选错了文件、把桩号文字文件和碎步点文件的顺序弄反了，或" +
                                     ToleranceNamed(SettingId::StakeTolerance, inputs.settings()) + "太小。"};
        return report;
    }
    // Labels none of which reads as a station give stakes without chainages: every later step
    // would join them all under one empty chainage.
    const bool anyReadable = std::any_of(labels.records().begin(), labels.records().end(), [&](const Record& label) {
        const FieldReader fields(labels, label);
        return fields.Has(5) && !LabelChainageText(fields.Text(5), options.numericLabels).empty();
    });
    if (!anyReadable)
        report.caution = StepCaution{"桩号文字文件中的 " + std::to_string(labels.size()) +
                                     " 个桩号文字没有一个能识别为桩号：图上的桩号若是纯数字（如 1200），须选用“图上里程为数值”"
                                     "（一键生成中为“桩号为纯数字”，命令行 --numeric-labels）。"};
    return report;
}

StepReport MatchSectionLines(StepInputs& inputs) {
    const DataFile& stakes = inputs[CentreStakes];
    const DataFile& lines = inputs[SectionLines];
    auto result = qorvel::MatchSectionLines(stakes, lines, inputs.settings().matchTolerance,
                                            inputs.session().carriedAzimuth);
    StepReport report{.output = std::move(result.output),
                      .summary = "本次桩号共匹配断面线：" + std::to_string(result.pairs) + " 条！",
                      .count = result.pairs};
    if (stakes.empty() || lines.empty()) return report;
    if (result.pairs == 0)
        report.caution = StepCaution{"没有一条断面线经过中桩：可能选错了文件、把中桩文件和断面线文件的顺序弄反了，或" +
                                     ToleranceNamed(SettingId::MatchTolerance, inputs.settings()) + "太小。"};
    // A section line belongs to one stake; a dozen on each line are the points of a survey.
    else if (result.pairs > 2 * lines.size())
        report.caution = StepCaution{"匹配数 " + std::to_string(result.pairs) + " 超过断面线条数 " +
                                     std::to_string(lines.size()) +
                                     " 的两倍，一条断面线上有多个“中桩”：所给的中桩文件可能是碎步点文件。"};
    return report;
}

StepReport AddPointCodes(StepInputs& inputs) {
    auto result = qorvel::AddPointCodes(inputs[MatchedLines], inputs[DetailPoints], inputs.settings().codeTolerance,
                                        inputs.progress());
    return {.output = std::move(result.output),
            .summary = "共有 " + std::to_string(result.coded) + " 个碎步点添加了桩号代码！",
            .count = result.coded};
}

StepReport GroupDetailPoints(StepInputs& inputs) {
    const DataFile& lines = inputs[MatchedLines];
    const DataFile& points = inputs[DetailPoints];
    auto result = qorvel::GroupDetailPoints(lines, points, inputs.settings().groupTolerance,
                                            inputs.session().carriedAzimuth, inputs.progress());
    StepReport report{.output = std::move(result.output),
                      .summary = "本次完成添加归属点号的桩号有" + std::to_string(result.stations) + "个！",
                      .count = result.stations};
    if (!lines.empty() && !points.empty() && result.memberships == 0)
        report.caution = StepCaution{"没有一个碎步点落在断面线上：可能选错了文件、把两个文件的顺序弄反了，或" +
                                     ToleranceNamed(SettingId::GroupTolerance, inputs.settings()) + "太小。"};
    return report;
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
