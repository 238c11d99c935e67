#include "app/steps/result_steps.h"

#include <string>

#include "results/section_results.h"

namespace qorvel::steps {

StepOutcome OutputSectionResults(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const DataFile members = step.OpenInput(1, "桩号包含碎步点点号的文件_dat文件(*.dat)|*.dat");
        const DataFile stakes = step.OpenInput(2, "检查后的中桩数据_dat文件(*.dat)|*.dat");
        const DataFile points = step.OpenInput(4, "全图碎步点数据_dat文件(*.dat)|*.dat");
        const DataFile lines = step.OpenInput(5, "匹配桩号后的断面线数据_dat文件(*.dat)|*.dat");
        const std::string output = step.AskOutput(6, "断面成果_dat文件(*.dat)|*.dat");

        const Settings& settings = step.settings();
        SectionResultOptions options;
        options.stakeAvoidDistance = settings.StakeAvoidDistance;
        options.layout.layoutName = settings.LayoutName;
        options.layout.swapSides = settings.Check1;
        options.layout.negateHeights = settings.Check2;
        options.layout.stationText = settings.Check3;
        options.layout.blankLine = settings.Check4;

        const SectionResults results = qorvel::OutputSectionResults({members, stakes, points, lines}, options,
                                                                    step.session().CarriedAzimuth, step.progress());
        // The count is of the section lines read, not of the sections written.
        step.Finish(output, results.output, "共有断面数：" + std::to_string(lines.size()) + " 条。");
    });
}

}  // namespace qorvel::steps
