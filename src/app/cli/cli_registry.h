#pragma once
// The subcommands of `qorvel`. Each one runs a step procedure: its positional arguments answer
// the step's open dialogs in order, -o answers the save dialog, the options set the settings.

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/settings.h"
#include "app/step_frame.h"

namespace qorvel::cli {

// Exit codes of `qorvel`.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWarned = 3;

// Help texts of the options a single step and `run` both offer.
inline constexpr const char* kStakeToleranceHelp = "桩号文字插入点与中桩点允许偏差值（默认 0.05）";
inline constexpr const char* kNumericLabelsHelp = "图上里程为数值";
inline constexpr const char* kMatchToleranceHelp = "匹配断面线桩号时，中桩点与断面线的垂直距离允许值（默认 0.01）";
inline constexpr const char* kGroupToleranceHelp = "碎步点按桩号归类时，其垂直断面线的允许距离值（默认 0.05）";

class CliRegistry {
public:
    // A subcommand running `procedure` on the inputs named in `inputNames` and the output -o.
    CLI::App* AddStepCommand(CLI::App& app, const std::string& name, const std::string& description,
                             StepProcedure procedure, std::initializer_list<const char*> inputNames);
    // A subcommand with a run of its own (for example several steps in one go); `run` gives the
    // exit code.
    CLI::App* AddCustomCommand(CLI::App& app, const std::string& name, const std::string& description,
                               std::function<int(const Settings&)> run);

    // A tolerance in metres, read strictly: a value that is not a number is a usage error.
    static void AddToleranceOption(CLI::App* command, const std::string& flags, double& target,
                                   const std::string& description);

    Settings& settings() { return settings_; }
    // Runs the subcommand that was parsed; gives the exit code.
    int Run();

private:
    struct Command {
        std::vector<std::string> inputs;
        std::string output;
        StepProcedure procedure = nullptr;
        std::function<int(const Settings&)> custom;
    };
    std::deque<Command> commands_;  // addresses stay put for CLI11's bindings
    Command* chosen_ = nullptr;
    Settings settings_;
};

// Runs one step procedure with the command line as host; gives the exit code and prints the
// closing message on stdout.
int RunStepFromCommandLine(StepProcedure procedure, Session& session, std::vector<std::string> inputs,
                           std::string output);

// Registration of each group of subcommands.
void AddAssemblyCommands(CLI::App& app, CliRegistry& registry);  // stakes, match, group
void AddCheckCommands(CLI::App& app, CliRegistry& registry);  // check-stakes, check-lines, add-codes, project-points
void AddDrawingCommands(CLI::App& app, CliRegistry& registry);   // polylines, labels, lines
void AddSectionCommands(CLI::App& app, CliRegistry& registry);   // sections
void AddPipelineCommand(CLI::App& app, CliRegistry& registry);   // run

// The layout, the four switches and the stake avoidance distance of the result step.
void AddSectionOptions(CLI::App* command, Settings& settings);

}  // namespace qorvel::cli
