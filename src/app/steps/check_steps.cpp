#include "app/steps/check_steps.h"

#include <string>

#include "assemble/line_check.h"
#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "assemble/stake_check.h"

namespace qorvel::steps {

namespace {
constexpr const char* kLabelFilter = "提取的桩号文字信息_dat文件(*.dat)|*.dat";
constexpr const char* kStakeFilter = "中桩数据_dat文件(*.dat)|*.dat";
constexpr const char* kMatchedLineFilter = "匹配桩号后的断面线_dat文件(*.dat)|*.dat";
constexpr const char* kDetailPointFilter = "全图碎步点数据_dat文件(*.dat)|*.dat";
}  // namespace

StepOutcome CheckCentreStakes(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile labels = step.OpenInput(1, kLabelFilter);
        const DataFile stakes = step.OpenInput(2, kStakeFilter);
        const std::string output = step.AskOutput(3, "保存_漏掉的中桩检查结果_dat文件(*.dat)|*.dat");
        const auto result = qorvel::CheckCentreStakes(labels, stakes, step.settings().Option2, step.progress());
        step.Finish(output, result.output,
                    "共检查桩号文字 " + std::to_string(result.labels) + " 个，有问题的 " +
                        std::to_string(result.problems) + " 个！");
    });
}

StepOutcome CheckSectionLines(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile stakes = step.OpenInput(1, kStakeFilter);
        const DataFile lines = step.OpenInput(2, kMatchedLineFilter);
        const std::string output = step.AskOutput(3, "保存_缺失的断面线检查结果_dat文件(*.dat)|*.dat");
        const auto result = qorvel::CheckSectionLines(stakes, lines, step.progress());
        step.Finish(output, result.output,
                    "共检查中桩 " + std::to_string(result.stakes) + " 个，缺少断面线 " +
                        std::to_string(result.missing) + " 个，断面线重复 " + std::to_string(result.repeated) +
                        " 个！");
    });
}

StepOutcome AddPointCodes(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile lines = step.OpenInput(1, kMatchedLineFilter);
        const DataFile points = step.OpenInput(2, kDetailPointFilter);
        const std::string output = step.AskOutput(3, "保存_添加桩号代码后的碎步点_dat文件(*.dat)|*.dat");
        const auto result =
            qorvel::AddPointCodes(lines, points, step.settings().CodePointTolerance, step.progress());
        step.Finish(output, result.output, "共有 " + std::to_string(result.coded) + " 个碎步点添加了桩号代码！");
    });
}

StepOutcome ProjectPointsOntoSectionLines(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile lines = step.OpenInput(1, kMatchedLineFilter);
        const DataFile points = step.OpenInput(2, kDetailPointFilter);
        const std::string output = step.AskOutput(3, "保存_横断面线上的点_dat文件(*.dat)|*.dat");
        const auto result = qorvel::ProjectPointsOntoSectionLines(lines, points, step.settings().GroupTolerance,
                                                                  step.session().CarriedAzimuth, step.progress());
        step.Finish(output, result.output, "共计算横断面线上的点 " + std::to_string(result.points) + " 个！");
    });
}

}  // namespace qorvel::steps
