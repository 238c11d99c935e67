#include "app/steps/assembly_steps.h"

#include <string>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"

namespace qorvel::steps {

StepOutcome MergeCentreStakes(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile labels = step.OpenInput(1, "提取的桩号文字信息_dat文件(*.dat)|*.dat");
        const DataFile points = step.OpenInput(2, "全图碎步点数据_dat文件(*.dat)|*.dat");
        const std::string output = step.AskOutput(3, "保存_中桩数据dat文件(*.dat)|*.dat");
        const CentreStakeMergeOptions options{step.settings().StakeTextTolerance, step.settings().Option2};
        const auto result = qorvel::MergeCentreStakes(labels, points, options, step.progress());
        step.Finish(output, result.output, "本次共合成中桩坐标个数 " + std::to_string(result.stakes) + " 个！");
    });
}

StepOutcome MatchSectionLines(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile stakes = step.OpenInput(1, "中桩数据_dat文件(*.dat)|*.dat");
        const DataFile lines = step.OpenInput(2, "提取的断面线数据_dat文件(*.dat)|*.dat");
        const std::string output = step.AskOutput(3, "保存_匹配桩号后的断面线dat文件(*.dat)|*.dat");
        const auto result = qorvel::MatchSectionLines(stakes, lines, step.settings().LineMatchTolerance,
                                                      step.session().CarriedAzimuth);
        step.Finish(output, result.output, "本次桩号共匹配断面线：" + std::to_string(result.pairs) + " 条！");
    });
}

StepOutcome GroupDetailPoints(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile lines = step.OpenInput(1, "匹配桩号后的断面线_dat文件(*.dat)|*.dat");
        const DataFile points = step.OpenInput(2, "全图碎步点数据_dat文件(*.dat)|*.dat");
        const std::string output = step.AskOutput(3, "保存_桩号包含哪些碎步点_dat文件(*.dat)|*.dat");
        const auto result = qorvel::GroupDetailPoints(lines, points, step.settings().GroupTolerance,
                                                      step.session().CarriedAzimuth, step.progress());
        step.Finish(output, result.output,
                    "本次完成添加归属点号的桩号有" + std::to_string(result.stations) + "个！");
    });
}

}  // namespace qorvel::steps
