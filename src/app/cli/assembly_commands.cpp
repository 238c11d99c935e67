#include "app/cli/cli_registry.h"
#include "app/steps/assembly_steps.h"

namespace qorvel::cli {

void AddAssemblyCommands(CLI::App& app, CliRegistry& registry) {
    Settings& settings = registry.settings();

    CLI::App* stakes = registry.AddStepCommand(app, "stakes", "3、桩号文字与桩号坐标合并：由桩号文字和碎步点合成中桩坐标",
                                               &steps::MergeCentreStakes, {"LABELS", "POINTS"});
    CliRegistry::AddToleranceOption(stakes, "--tolerance", settings.StakeTextTolerance,
                                    "桩号文字插入点与中桩点允许偏差值（默认 0.05）");
    stakes->add_flag("--numeric-labels", settings.Option2, "图上里程为数值");

    CLI::App* match = registry.AddStepCommand(app, "match", "6、断面线匹配桩号", &steps::MatchSectionLines,
                                              {"STAKES", "LINES"});
    CliRegistry::AddToleranceOption(match, "--tolerance", settings.LineMatchTolerance,
                                    "匹配断面线桩号时，中桩点与断面线的垂直距离允许值（默认 0.01）");

    CLI::App* group = registry.AddStepCommand(app, "group", "9、碎步点按桩号归类", &steps::GroupDetailPoints,
                                              {"MATCHED", "POINTS"});
    CliRegistry::AddToleranceOption(group, "--tolerance", settings.GroupTolerance,
                                    "碎步点按桩号归类时，其垂直断面线的允许距离值（默认 0.05）");
}

}  // namespace qorvel::cli
