#include "cli/cli_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cli/cli_host.h"
#include "cli/parser_language.h"
#include "core/number_read.h"
#include "core/step_error.h"
#include "frame/drawing_code_pages.h"
#include "frame/plot_options.h"
#include "frame/result_layouts.h"
#include "frame/session.h"
#include "frame/step_frame.h"

namespace qorvel::cli {

namespace {

// A tolerance in metres, read strictly and greater than 0: any other value is a usage error
// naming what was typed. The avoid distance is no tolerance: any number, a negative one lets
// the stake's own shot onto a side.
void AddToleranceOption(CLI::App* command, const ToleranceSetting& setting, bool forRun, std::string_view help,
                        Settings& settings) {
    double& target = settings.*setting.value;
    const bool anyNumber = setting.id == SettingId::AvoidDistance;
    command
        ->add_option_function<std::string>(
            std::string(forRun ? setting.runFlag : setting.stepFlag),
            [&target](const std::string& text) { target = *ReadStrict(text); },
            std::string(help.empty() ? setting.help : help))
        ->check(CLI::Validator(
            [anyNumber](std::string& text) -> std::string {
                const std::optional<double> value = ReadStrict(text);
                if (!value) return "不是数字：" + text;
                if (!anyNumber && *value <= 0) return "必须是大于 0 的数：" + text;
                return {};
            },
            "米", "number"));
}

// A number greater than 0 (a usage error otherwise).
void AddPositiveOption(CLI::App* command, const std::string& flag, double& target, const std::string& help) {
    command->add_option_function<std::string>(flag, [&target](const std::string& text) { target = *ReadStrict(text); }, help)
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::optional<double> value = ReadStrict(text);
                if (!value) return "不是数字：" + text;
                return *value > 0 ? std::string() : "必须是大于 0 的数：" + text;
            },
            "数", "number"));
}

// Which side is written first, and how the station is written.
void AddSectionSides(CLI::App* command, Settings& settings) {
    command->add_flag("--swap-sides", settings.swapSides, "幅别颠倒生成");
    command->add_flag("--station-text", settings.stationText, "转换为字符型桩号");
    command
        ->add_option_function<std::string>(
            "--sides",
            [&settings](const std::string& rule) {
                settings.routeSides = rule == "route";
                settings.drawnSidesNamed = rule == "drawn";
            },
            "drawn：第一侧为断面线第一个端点一侧（默认）；route：按路线前进方向区分左右，第一侧为左侧")
        ->check(OneOf({"drawn", "route"}));
}

// Each layout in one sentence, below a command's options.
std::string LayoutsDescribed() {
    std::string text = "成果格式：";
    for (const ResultLayout& layout : ResultLayouts())
        text += "\n  " + std::string(layout.id) + "（" + std::string(layout.caption) + "）：" + std::string(layout.description);
    return text;
}

// The layout by its command-line value (1 to 5, begin, csv, landxml, hdm), as the window's layout
// box offers them, and the two switches of the layouts of height differences.
void AddResultLayout(CLI::App* command, Settings& settings) {
    std::vector<std::string> values;
    std::string help = "成果格式：";
    for (const ResultLayout& layout : ResultLayouts()) {
        values.emplace_back(layout.id);
        help += std::string(layout.id) + "（" + std::string(layout.caption) + "）";
    }
    help += "，默认 1";
    command
        ->add_option_function<std::string>(
            "--format",
            [&settings](const std::string& value) { settings.layout = value; },
            help)
        ->check(OneOf(values));
    command->add_flag("--negate-heights", settings.negateHeights, "变换高差正负号");
    command->add_flag("--blank-line", settings.blankLine, "断面桩号隔一行生成");
    command->footer(LayoutsDescribed());
}

// The layouts of 格式转换: the one written (--to, required), the one read (--from, needed for
// 格式 1 to 5, whose contents look alike), and the switches of step 10 for the layout written.
void AddConversionLayouts(CLI::App* command, Settings& settings) {
    std::vector<std::string> values;
    std::string names;
    for (const ResultLayout& layout : ResultLayouts()) {
        values.emplace_back(layout.id);
        names += std::string(names.empty() ? "" : "、") + std::string(layout.id);
    }
    command->add_option_function<std::string>("--to", [&settings](const std::string& value) { settings.layout = value; },
                                              "写成的格式：" + names)
        ->check(OneOf(values))
        ->required();
    command->add_option("--from", settings.sourceLayout, "读入文件的格式（格式 1 至 5 须指明，其余可自动识别）：" + names)
        ->check(OneOf(values));
    command->add_flag("--swap-sides", settings.swapSides, "幅别颠倒生成");
    command->add_flag("--station-text", settings.stationText, "转换为字符型桩号");
    command->add_flag("--negate-heights", settings.negateHeights, "变换高差正负号");
    command->add_flag("--blank-line", settings.blankLine, "断面桩号隔一行生成");
    command->footer(LayoutsDescribed());
}

// The surveyor's code page, for drawings that do not name theirs; letter case ignored.
void AddCodePage(CLI::App* command, Settings& settings) {
    std::string names;
    for (const DrawingCodePage& page : DrawingCodePages()) names += (names.empty() ? "" : "、") + page.name;
    command
        ->add_option_function<std::string>(
            "--code-page", [&settings](const std::string& name) { settings.codePage = *DrawingCodePageNamed(name); },
            "图形未注明代码页时（R2007 以前的 DXF）其文字的代码页，默认 ANSI_936（简体中文 GBK）；可选：" + names)
        ->check(CLI::Validator(
            [](std::string& name) -> std::string {
                return DrawingCodePageNamed(name) ? std::string() : "没有这种代码页：" + name;
            },
            "代码页", "code page"));
}

void AddSectionChecks(CLI::App* command, Settings& settings) {
    AddPositiveOption(command, "--spike", settings.spikeHeight, "高程突变：与两侧相邻点同向相差超过此值（米，默认 2）");
    AddPositiveOption(command, "--gap", settings.gapDistance, "点距过大：同侧相邻两点相距超过此值（米，默认 30）");
    AddPositiveOption(command, "--skew", settings.skewAngle, "断面线斜交：偏离与路线垂直超过此角度（度，默认 15）");
}

void AddSheetOptions(CLI::App* command, Settings& settings) {
    command
        ->add_option_function<std::string>(
            "--scale",
            [&settings](std::string text) {
                if (text.starts_with("1:")) text.erase(0, 2);
                settings.sheetScale = *ReadStrict(text);
            },
            "横向比例尺 1:N（默认 1:200）")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::optional<double> value = ReadStrict(text.starts_with("1:") ? text.substr(2) : text);
                if (!value) return "不是比例尺：" + text;
                const std::string problem = SheetScaleProblem(*value);
                return problem.empty() ? problem : problem + "：" + text;
            },
            "1:N", "scale"));
    command
        ->add_option_function<std::string>(
            "--exaggeration", [&settings](const std::string& text) { settings.exaggeration = *ReadStrict(text); },
            "竖向放大倍数（竖向比例尺比横向，默认 1）")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::optional<double> value = ReadStrict(text);
                if (!value) return "不是数字：" + text;
                const std::string problem = ExaggerationProblem(*value);
                return problem.empty() ? problem : problem + "：" + text;
            },
            "数", "number"));
    command->add_option("--sheet", settings.sheetSize, "图纸：A3（默认，横放）、A4、A1")
        ->check(OneOf({"A3", "A4", "A1"}));
    command->add_option("--project", settings.sheetProject, "图签中的项目名称");
    command->add_option("--road", settings.sheetRoad, "图签中的路线名称");
    command->add_option("--drawing-number", settings.drawingNumber, "图签中的图号（每张图纸后加“-张号”）");
    command->add_option("--dxf-units", settings.dxfUnits, "DXF 图纸的单位：m（默认，1 个单位为 1 米地面）或 mm（图纸毫米）")
        ->check(OneOf({"m", "mm"}));
}

}  // namespace

void CliRegistry::AddSettingOptions(CLI::App* command, std::span<const SettingId> ids, Settings& settings,
                                    bool forRun, std::string_view toleranceHelp) {
    std::vector<SettingId> added;
    for (const SettingId id : ids) {
        if (std::find(added.begin(), added.end(), id) != added.end()) continue;
        added.push_back(id);
        if (const ToleranceSetting* tolerance = FindToleranceSetting(id)) {
            AddToleranceOption(command, *tolerance, forRun, toleranceHelp, settings);
            continue;
        }
        switch (id) {
            case SettingId::NumericLabels:
                command->add_flag("--numeric-labels", settings.numericLabels, "图上里程为数值");
                break;
            case SettingId::SectionSides:
                AddSectionSides(command, settings);
                break;
            case SettingId::ResultLayout:
                AddResultLayout(command, settings);
                break;
            case SettingId::SectionChecks:
                AddSectionChecks(command, settings);
                break;
            case SettingId::SheetOptions:
                AddSheetOptions(command, settings);
                break;
            case SettingId::ConversionLayouts:
                AddConversionLayouts(command, settings);
                break;
            case SettingId::LayerName:
                if (!forRun) command->add_option("--layer", settings.layerName, "图层名称（区分大小写）")->required();
                break;
            case SettingId::CodePage:
                AddCodePage(command, settings);
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
        for (std::size_t index = 0; index < step.inputs.size(); ++index) {
            const FileSpec& input = step.inputs[index];
            std::string argument(RoleArgument(input.role));
            if (!input.optional) {
                sub->add_option(argument, command.inputs[index], std::string(RoleName(input.role)))->required();
                continue;
            }
            // An input the step reads only when given is an option named after its role: --stakes STAKES.
            std::string flag = "--" + argument;
            for (char& c : flag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            sub->add_option(flag, command.inputs[index], std::string(RoleName(input.role)))->option_text(argument);
        }
        sub->add_option("-o,--output", command.output, "结果文件")->required();
        AddSettingOptions(sub, step.settings, settings_, false, step.toleranceHelp);
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
    if (const std::string conflict = SettingsConflict(settings_); !conflict.empty()) {
        std::fprintf(stderr, "%s\n", conflict.c_str());
        return kExitUsage;
    }
    if (chosen_->custom) return chosen_->custom(settings_);
    std::map<FileRole, std::string> inputs;
    for (std::size_t index = 0; index < chosen_->inputs.size(); ++index)
        if (!chosen_->inputs[index].empty()) inputs[chosen_->step->inputs[index].role] = chosen_->inputs[index];
    return RunStepFromCommandLine(*chosen_->step, settings_, inputs, chosen_->output);
}

void PrintCaution(const StepResult& result) {
    if (!result.caution) return;
    std::fflush(stdout);  // after the summary on a terminal that shows both
    std::fprintf(stderr, "注意：%s\n", result.caution->cause.c_str());
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
    const StepResult result = step.Run(host, session, settings);
    host.EndProgress();
    switch (result.outcome) {
        case StepOutcome::Completed:
            for (const std::string& note : result.notes) std::fprintf(stderr, "警告：%s\n", note.c_str());
            std::printf("%s\n", result.summary.c_str());
            PrintCaution(result);
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
