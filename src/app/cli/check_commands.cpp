#include "app/cli/cli_registry.h"
#include "app/steps/check_steps.h"

namespace qorvel::cli {

void AddCheckCommands(CLI::App& app, CliRegistry& registry) {
    Settings& settings = registry.settings();

    CLI::App* stakes = registry.AddStepCommand(app, "check-stakes", "5、检查有无漏掉的中桩数据",
                                               &steps::CheckCentreStakes, {"LABELS", "STAKES"});
    stakes->add_flag("--numeric-labels", settings.Option2, kNumericLabelsHelp);

    registry.AddStepCommand(app, "check-lines", "7、检查有无缺失的断面线", &steps::CheckSectionLines,
                            {"STAKES", "MATCHED"});

    CLI::App* codes = registry.AddStepCommand(app, "add-codes", "8、碎步点添加桩号代码", &steps::AddPointCodes,
                                              {"MATCHED", "POINTS"});
    CliRegistry::AddToleranceOption(codes, "--tolerance", settings.CodePointTolerance,
                                    "向碎步点添加桩号代码时，允许碎步点距离横断面线的直线距离（默认 0.01）");

    CLI::App* project = registry.AddStepCommand(app, "project-points", "计算横断面线上的点",
                                                &steps::ProjectPointsOntoSectionLines, {"MATCHED", "POINTS"});
    CliRegistry::AddToleranceOption(project, "--tolerance", settings.GroupTolerance,
                                    "碎步点到横断面线的垂直距离允许值，与碎步点按桩号归类相同（默认 0.05）");
}

}  // namespace qorvel::cli
