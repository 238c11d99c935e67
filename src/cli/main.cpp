// qorvel: every step of the pipeline as a subcommand, for batch work without the window.

#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/cli_registry.h"
#include "core/interrupt_cleanup.h"

int main(int argc, char** argv) {
    using namespace qorvel::cli;
    qorvel::InstallInterruptCleanup();
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
    const int code = registry.Run();
    // The summary is the result a script reads: one that could not be written is a failure.
    if (!qorvel::FlushStandardOutput()) {
        std::fprintf(stderr, "错误：无法写出到标准输出（管道已关闭或磁盘已满）\n");
        return code == kExitCompleted ? kExitFailed : code;
    }
    return code;
}
