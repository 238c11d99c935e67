// qorvel: every step of the pipeline as a subcommand, for batch work without the window.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_registry.h"
#include "cli/parser_language.h"
#include "platform/console.h"
#include "platform/interrupts.h"

int main(int argc, char** argv) {
    using namespace qorvel::cli;
    qorvel::platform::InstallInterruptHandlers();
    qorvel::platform::PrepareStandardStreams();
    // The arguments as UTF-8 on every system (on Windows from the wide command line).
    std::vector<std::string> arguments = qorvel::platform::Utf8Arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
    utf8Argv.push_back(nullptr);
    CLI::App app{"QORVEL 5.0 路线横断面格式整理软件（命令行）"};
    app.require_subcommand(1);
    // Options are written "--name" on every system: "/tmp/x.dat" is a path, also on Windows. Set
    // before the subcommands are added, which take it over.
    app.allow_windows_style_options(false);
    CliRegistry registry;
    registry.AddStepCommands(app);
    AddPipelineCommand(app, registry);
    SpeakChinese(app, "QORVEL " QORVEL_VERSION);
    try {
        app.parse(static_cast<int>(arguments.size()), utf8Argv.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? kExitCompleted : kExitUsage;
    }
    const int code = registry.Run();
    // The summary is the result a script reads: one that could not be written is told apart
    // from a success, and from a failure (which leaves the output untouched).
    if (!qorvel::platform::FlushStandardOutput()) {
        if (code != kExitCompleted) {
            std::fprintf(stderr, "错误：无法写出到标准输出（管道已关闭或磁盘已满）\n");
            return code;
        }
        std::fprintf(stderr, "错误：无法写出到标准输出（管道已关闭或磁盘已满）；输出文件已经写好，只是摘要没有打印出来\n");
        return kExitSummaryNotPrinted;
    }
    return code;
}
