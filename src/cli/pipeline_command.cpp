// qorvel run: from the drawing and the detail point file to the cross-section result in one go.

#include <cstdio>
#include <memory>
#include <vector>

#include "cli/cli_host.h"
#include "cli/cli_registry.h"
#include "cli/parser_language.h"
#include "frame/pipeline.h"
#include "frame/pipeline_summary.h"
#include "plot/sheet_kinds.h"

namespace qorvel::cli {

namespace {

// Each stage's line on stdout as soon as its file is written, so a long run shows how far it is.
class PrintStageLines final : public PipelineObserver {
public:
    explicit PrintStageLines(CliHost& host) : host_(host) {}
    void StageStarting(const StepDescription&, std::size_t, std::size_t) override {}
    void StageEnded(const StageReport& report) override {
        if (!report.result.Completed()) return;
        host_.EndProgress();
        for (const std::string& note : report.result.notes) std::fprintf(stderr, "警告：%s\n", note.c_str());
        std::printf("%s\n", StageLine(report).c_str());
        std::fflush(stdout);
        PrintCaution(report.result);
    }

private:
    CliHost& host_;
};

int RunPipelineFromCommandLine(const Settings& settings, const PipelineRequest& request) {
    Session session;
    CliHost host({}, {});  // the run answers every file itself
    PrintStageLines lines(host);
    const PipelineReport report = RunPipeline(host, session, settings, request, &lines);
    host.EndProgress();
    if (!report.removedStaging.empty()) std::fprintf(stderr, "注意：%s\n", RemovedStagingText(report).c_str());
    if (report.Completed()) {
        if (!report.earlierResults.empty()) std::fprintf(stderr, "警告：%s\n", EarlierResultsText(report).c_str());
        return kExitCompleted;
    }
    std::fprintf(stderr, "%s\n", PipelineStopText(report).c_str());
    return report.outcome == StepOutcome::Warned ? kExitWarned : kExitFailed;
}

// "第 2、3、…、12 步和纵断面地面线": the numbered steps by number, the others by caption.
std::string StepsOfTheRunNamed() {
    std::string numbers;
    std::string others;
    for (const StepId id : PipelineSteps()) {
        const StepDescription& step = Describe(id);
        if (step.number > 0) numbers += (numbers.empty() ? "" : "、") + std::to_string(step.number);
        else others += (others.empty() ? "" : "、") + std::string(step.caption);
    }
    return "第 " + numbers + " 步" + (others.empty() ? "" : "和" + others);
}

}  // namespace

void AddPipelineCommand(CLI::App& app, CliRegistry& registry) {
    Settings& settings = registry.settings();
    auto request = std::make_shared<PipelineRequest>();
    CLI::App* run = registry.AddCustomCommand(
        app, "run", "一键生成断面成果：依次运行" + StepsOfTheRunNamed() + "，各步的文件写入输出文件夹",
        [request](const Settings& chosen) { return RunPipelineFromCommandLine(chosen, *request); });
    run->add_option("DRAWING", request->drawing, "路线图形（DXF 文件）")->required();
    run->add_option("POINTS", request->points, "全图碎步点数据文件")->required();
    run->add_option("--label-layer", request->labelLayer, "中桩桩号文字所在图层（区分大小写）")->required();
    run->add_option("--line-layer", request->lineLayer, "横断面线所在图层（区分大小写）")->required();
    run->add_option("-o,--output", request->outputFolder, "输出文件夹（不存在时创建，其上一级文件夹须已存在）")
        ->required();
    std::vector<std::string> sheetKinds;
    for (const SheetKind& kind : SheetKinds()) sheetKinds.emplace_back(kind.name);
    run->add_option("--plot", request->plotKind,
                    "同时绘制断面图：" + SheetKindList(SheetKindWords::Names) + "（写入 10-sections.pdf 等）")
        ->check(OneOf(sheetKinds));
    std::vector<SettingId> ids;
    for (const StepId id : PipelineSteps())
        for (const SettingId setting : Describe(id).settings) ids.push_back(setting);
    for (const SettingId setting : Describe(StepId::SectionSheets).settings) ids.push_back(setting);
    CliRegistry::AddSettingOptions(run, ids, settings, true);
}

}  // namespace qorvel::cli
