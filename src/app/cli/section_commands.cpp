#include "app/cli/cli_registry.h"
#include "app/steps/result_steps.h"

namespace qorvel::cli {

void AddSectionOptions(CLI::App* sections, Settings& settings) {
    // The layout by its number, exactly 1 to 5, as the window's layout box offers them.
    sections
        ->add_option_function<std::string>(
            "--format", [&settings](const std::string& number) { settings.LayoutName = "格式 " + number; },
            "成果格式 1 到 5（默认 1，即“格式 1”）")
        ->check(CLI::IsMember({"1", "2", "3", "4", "5"}));
    sections->add_flag("--swap-sides", settings.Check1, "幅别颠倒生成");
    sections->add_flag("--negate-heights", settings.Check2, "变换高差正负号");
    sections->add_flag("--station-text", settings.Check3, "转换为字符型桩号");
    sections->add_flag("--blank-line", settings.Check4, "断面桩号隔一行生成");
    CliRegistry::AddToleranceOption(sections, "--avoid", settings.StakeAvoidDistance,
                                    "生成成果时，规避中桩的距离值（默认 0.08）");
}

void AddSectionCommands(CLI::App& app, CliRegistry& registry) {
    CLI::App* sections = registry.AddStepCommand(app, "sections", "10、输出成果：生成横断面成果文件",
                                                 &steps::OutputSectionResults,
                                                 {"MEMBERS", "STAKES", "POINTS", "MATCHED"});
    AddSectionOptions(sections, registry.settings());
}

}  // namespace qorvel::cli
