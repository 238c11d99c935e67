#include "app/cli/cli_registry.h"

#include <algorithm>
#include <cstdio>

#include "app/cli/cli_host.h"
#include "app/session.h"
#include "app/step_frame.h"
#include "core/number_read.h"
#include "core/step_error.h"

namespace qorvel::cli {

namespace {

// A tolerance in metres, read strictly and greater than 0: any other value is a usage error
// naming what was typed. The avoid distance is no tolerance: any number, a negative one lets
// the stake's own shot onto a side.
void AddToleranceOption(CLI::App* command, const ToleranceSetting& setting, bool forRun, Settings& settings) {
    double& target = settings.*setting.value;
    const bool anyNumber = setting.id == SettingId::AvoidDistance;
    command
        ->add_option_function<std::string>(
            std::string(forRun ? setting.runFlag : setting.stepFlag),
            [&target](const std::string& text) { target = *ReadStrict(text); }, std::string(setting.help))
        ->check(CLI::Validator(
            [anyNumber](std::string& text) -> std::string {
                const std::optional<double> value = ReadStrict(text);
                if (!value) return "不是数字：" + text;
                if (!anyNumber && *value <= 0) return "必须是大于 0 的数：" + text;
                return {};
            },
            "米", "number"));
}

// The layout by its number, exactly 1 to 5, as the window's layout box offers them, and the
// four switches and the avoid distance of the result file.
void AddSectionSwitches(CLI::App* command, Settings& settings) {
    command
        ->add_option_function<std::string>(
            "--format", [&settings](const std::string& number) { settings.layoutName = "格式 " + number; },
            "成果格式 1 到 5（默认 1，即“格式 1”）")
        ->check(CLI::IsMember({"1", "2", "3", "4", "5"}));
    command->add_flag("--swap-sides", settings.swapSides, "幅别颠倒生成");
    command->add_flag("--negate-heights", settings.negateHeights, "变换高差正负号");
    command->add_flag("--station-text", settings.stationText, "转换为字符型桩号");
    command->add_flag("--blank-line", settings.blankLine, "断面桩号隔一行生成");
}

}  // namespace

void CliRegistry::AddSettingOptions(CLI::App* command, std::span<const SettingId> ids, Settings& settings,
                                    bool forRun) {
    std::vector<SettingId> added;
    for (const SettingId id : ids) {
        if (std::find(added.begin(), added.end(), id) != added.end()) continue;
        added.push_back(id);
        if (const ToleranceSetting* tolerance = FindToleranceSetting(id)) {
            AddToleranceOption(command, *tolerance, forRun, settings);
            continue;
        }
        switch (id) {
            case SettingId::NumericLabels:
                command->add_flag("--numeric-labels", settings.numericLabels, "图上里程为数值");
                break;
            case SettingId::SectionSwitches:
                AddSectionSwitches(command, settings);
                break;
            case SettingId::LayerName:
                if (!forRun) command->add_option("--layer", settings.layerName, "图层名称（区分大小写）")->required();
                break;
            default:
                break;
        }
    }
}

void CliRegistry::AddStepCommands(CLI::App& app) {
    for (const StepDescription& step : StepCatalogue()) {
        if (step.command.empty()) continue;
        Command& command = commands_.emplace_back();
        command.step = &step;
        command.inputs.resize(step.inputs.size());
        CLI::App* sub = app.add_subcommand(std::string(step.command), std::string(step.commandHelp));
        for (std::size_t index = 0; index < step.inputs.size(); ++index)
            sub->add_option(std::string(RoleArgument(step.inputs[index].role)), command.inputs[index],
                            std::string(RoleName(step.inputs[index].role)))
                ->required();
        sub->add_option("-o,--output", command.output, "结果文件")->required();
        AddSettingOptions(sub, step.settings, settings_, false);
        sub->callback([this, &command] { chosen_ = &command; });
    }
}

CLI::App* CliRegistry::AddCustomCommand(CLI::App& app, const std::string& name, const std::string& description,
                                        std::function<int(const Settings&)> run) {
    Command& command = commands_.emplace_back();
    command.custom = std::move(run);
    CLI::App* sub = app.add_subcommand(name, description);
    sub->callback([this, &command] { chosen_ = &command; });
    return sub;
}

int CliRegistry::Run() {
    if (!chosen_) return kExitUsage;
    if (chosen_->custom) return chosen_->custom(settings_);
    std::map<FileRole, std::string> inputs;
    for (std::size_t index = 0; index < chosen_->inputs.size(); ++index)
        inputs[chosen_->step->inputs[index].role] = chosen_->inputs[index];
    return RunStepFromCommandLine(*chosen_->step, settings_, inputs, chosen_->output);
}

int RunStepFromCommandLine(const StepDescription& step, const Settings& settings,
                           const std::map<FileRole, std::string>& inputs, const std::string& output) {
    CliHost host(inputs, output);
    try {
        std::vector<std::string> paths;
        for (const auto& [role, path] : inputs) paths.push_back(path);
        RefuseOutputAmongInputs(output, paths);
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
        return kExitFailed;
    }
    Session session;
    const StepResult result = step.run(host, session, settings);
    host.EndProgress();
    switch (result.outcome) {
        case StepOutcome::Completed:
            for (const std::string& note : result.notes) std::fprintf(stderr, "警告：%s\n", note.c_str());
            std::printf("%s\n", result.summary.c_str());
            return kExitCompleted;
        case StepOutcome::Warned:
            return kExitWarned;
        case StepOutcome::Cancelled:
            std::fprintf(stderr, "错误：缺少输入文件\n");
            return kExitUsage;
        case StepOutcome::Failed:
            break;
    }
    return kExitFailed;
}

}  // namespace qorvel::cli
