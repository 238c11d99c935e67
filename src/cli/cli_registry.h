#pragma once
// The subcommands of `qorvel`, built from the step catalogue: each step with a command name
// becomes a subcommand whose positional arguments are bound to the step's input roles (in the
// order the catalogue lists them), whose -o is its output, and whose options are the settings
// the step reads. `run` is added with a run of its own.

#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "frame/settings.h"
#include "frame/step_catalogue.h"

namespace qorvel::cli {

// Exit codes of `qorvel`.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWarned = 3;
// The step completed and its output was written, but its summary could not be printed on stdout
// (a closed pipe, a full disk): the output is the new one, unlike after exit 1.
inline constexpr int kExitSummaryNotPrinted = 4;

class CliRegistry {
public:
    // A subcommand for every step of the catalogue that has a command name.
    void AddStepCommands(CLI::App& app);
    // A subcommand with a run of its own (for example several steps in one go); `run` gives the
    // exit code.
    CLI::App* AddCustomCommand(CLI::App& app, const std::string& name, const std::string& description,
                               std::function<int(const Settings&)> run);

    // The options of `ids`, each once; `forRun` names the tolerances as `run` does;
    // `toleranceHelp`, when given, describes the tolerance instead of the setting's words.
    static void AddSettingOptions(CLI::App* command, std::span<const SettingId> ids, Settings& settings, bool forRun,
                                  std::string_view toleranceHelp = {});

    Settings& settings() { return settings_; }
    // Runs the subcommand that was parsed; gives the exit code.
    int Run();

private:
    struct Command {
        const StepDescription* step = nullptr;
        std::vector<std::string> inputs;  // in the order of the step's inputs
        std::string output;
        std::function<int(const Settings&)> custom;
    };
    std::deque<Command> commands_;  // addresses stay put for CLI11's bindings
    Command* chosen_ = nullptr;
    Settings settings_;
};

// Runs one step with the command line as host, its inputs bound by role; gives the exit code
// and prints the closing message on stdout. An output naming one of the inputs is refused before
// anything is read.
int RunStepFromCommandLine(const StepDescription& step, const Settings& settings,
                           const std::map<FileRole, std::string>& inputs, const std::string& output);

// A completed step's caution, after its summary: "注意：" and the likely cause, on stderr.
void PrintCaution(const StepResult& result);

void AddPipelineCommand(CLI::App& app, CliRegistry& registry);  // run

}  // namespace qorvel::cli
