#include "app/cli/cli_registry.h"
#include "app/steps/assembly_steps.h"

namespace qorvel::cli {

void AddAssemblyCommands(CLI::App& app, CliRegistry& registry) {
    Settings& settings = registry.settings();

    CLI::App* stakes = registry.AddStepCommand(app, "stakes", "3、桩号文字与桩号坐标合并：由桩号文字和碎步点合成中桩坐标",
                                               &steps::MergeCentreStakes, {"LABELS", "POINTS"});
    CliRegistry::AddToleranceOption(stakes, "--tolerance", settings.StakeTextTolerance,
                                    kStakeToleranceHelp);
    stakes->add_flag("--numeric-labels", settings.Option2, kNumericLabelsHelp);

    CLI::App* match = registry.AddStepCommand(app, "match", "6、断面线匹配桩号", &steps::MatchSectionLines,
                                              {"STAKES", "LINES"});
    CliRegistry::AddToleranceOption(match, "--tolerance", settings.LineMatchTolerance,
                                    kMatchToleranceHelp);

    CLI::App* group = registry.AddStepCommand(app, "group", "9、碎步点按桩号归类", &steps::GroupDetailPoints,
                                              {"MATCHED", "POINTS"});
    CliRegistry::AddToleranceOption(group, "--tolerance", settings.GroupTolerance,
                                    kGroupToleranceHelp);
}

}  // namespace qorvel::cli
