#include "app/cli/cli_registry.h"

#include <cstdio>

#include "app/cli/cli_host.h"
#include "core/number_read.h"

namespace qorvel::cli {

CLI::App* CliRegistry::AddStepCommand(CLI::App& app, const std::string& name, const std::string& description,
                                      StepProcedure procedure, std::initializer_list<const char*> inputNames) {
    Command& command = commands_.emplace_back();
    command.procedure = procedure;
    command.inputs.resize(inputNames.size());
    CLI::App* sub = app.add_subcommand(name, description);
    std::size_t index = 0;
    for (const char* inputName : inputNames) sub->add_option(inputName, command.inputs[index++])->required();
    sub->add_option("-o,--output", command.output, "结果文件")->required();
    sub->callback([this, &command] { chosen_ = &command; });
    return sub;
}

CLI::App* CliRegistry::AddCustomCommand(CLI::App& app, const std::string& name, const std::string& description,
                                        std::function<int(const Settings&)> run) {
    Command& command = commands_.emplace_back();
    command.custom = std::move(run);
    CLI::App* sub = app.add_subcommand(name, description);
    sub->callback([this, &command] { chosen_ = &command; });
    return sub;
}

void CliRegistry::AddToleranceOption(CLI::App* command, const std::string& flags, double& target,
                                     const std::string& description) {
    command
        ->add_option_function<std::string>(
            flags, [&target](const std::string& text) { target = *ReadStrict(text); }, description)
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return ReadStrict(text) ? std::string{} : "不是数字：" + text;
            },
            "米", "number"));
}

int CliRegistry::Run() {
    if (!chosen_) return kExitUsage;
    if (chosen_->custom) return chosen_->custom(settings_);
    Session session;
    session.settings = settings_;
    return RunStepFromCommandLine(chosen_->procedure, session, chosen_->inputs, chosen_->output);
}

int RunStepFromCommandLine(StepProcedure procedure, Session& session, std::vector<std::string> inputs,
                           std::string output) {
    CliHost host(std::move(inputs), std::move(output));
    const StepOutcome outcome = procedure(host, session);
    host.EndProgress();
    switch (outcome) {
        case StepOutcome::Completed:
            std::printf("%s\n", host.summary().c_str());
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
