// qorvel: every step of the pipeline as a subcommand, for batch work without the window.

#include <CLI/CLI.hpp>

#include "app/cli/cli_registry.h"

int main(int argc, char** argv) {
    using namespace qorvel::cli;
    CLI::App app{"QORVEL 5.0 路线横断面格式整理软件（命令行）"};
    app.require_subcommand(1);
    CliRegistry registry;
    registry.AddStepCommands(app);
    AddPipelineCommand(app, registry);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? kExitCompleted : kExitUsage;
    }
    return registry.Run();
}
