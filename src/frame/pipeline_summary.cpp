#include "frame/pipeline_summary.h"

namespace qorvel {

namespace {
std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "、") + name;
    return text;
}
}  // namespace

std::string StageLine(const StageReport& report) {
    return report.OutputName() + "：" + report.result.summary;
}

std::vector<std::string> CheckProblems(const PipelineReport& report) {
    std::vector<std::string> problems;
    for (const StageReport& stage : report.stages)
        for (const CheckProblem& problem : stage.result.problems)
            problems.push_back(problem.reason + "：" + ProblemConcerns(problem));
    return problems;
}

std::string EarlierResultsText(const PipelineReport& report) {
    if (report.earlierResults.empty()) return {};
    std::string names;
    for (const std::string& name : report.earlierResults) names += (names.empty() ? "" : "、") + name;
    return "输出文件夹中的 " + names + " 是以前生成的，不是本次的成果。";
}

std::string RemovedStagingText(const PipelineReport& report) {
    if (report.removedStaging.empty()) return {};
    return "已删除以前被中断的一键生成留下的临时文件夹：" + Joined(report.removedStaging);
}

std::string PipelineSummaryText(const PipelineReport& report, std::size_t maxProblems) {
    std::string text;
    if (const StageReport* result = report.Find(FileRole::SectionResults))
        text += "断面成果已生成：" + result->output + "\n\n";
    std::vector<std::string> checks;
    for (const StageReport& stage : report.stages) {
        if (stage.result.Completed()) text += StageLine(stage) + "\n";
        if (!stage.result.problems.empty()) checks.push_back(stage.OutputName());
    }

    if (!report.earlierResults.empty()) text += "注意：" + EarlierResultsText(report) + "\n";

    const std::vector<std::string> problems = CheckProblems(report);
    if (problems.empty()) {
        text += "\n检查未发现问题。";
        return text;
    }
    text += "\n检查发现 " + std::to_string(problems.size()) + " 个问题：";
    for (std::size_t index = 0; index < problems.size() && index < maxProblems; ++index)
        text += "\n" + problems[index];
    if (problems.size() > maxProblems) {
        std::string files = checks.empty() ? std::string() : checks.front();
        for (std::size_t index = 1; index < checks.size(); ++index)
            files += (index + 1 == checks.size() ? " 和 " : "、") + checks[index];
        text += "\n……另有 " + std::to_string(problems.size() - maxProblems) + " 个，详见 " + files + "。";
    }
    return text;
}

std::string PipelineStopText(const PipelineReport& report) {
    if (report.stages.empty()) return "一键生成没有开始，没有写出任何文件。";
    const StageReport& stopped = report.stages.back();
    if (stopped.result.Completed() && !report.StoppingCaution())  // every stage completed; their files could not be placed
        return "一键生成的各步都已完成，但成果没有移入输出文件夹。\n输出文件夹保持原样。";
    std::string text = report.StoppingCaution()
                           ? "一键生成在“" + std::string(stopped.Step().caption) + "”之后停止：这一步没有得到可用的结果，之后的步骤没有运行。"
                           : "一键生成停在“" + std::string(stopped.Step().caption) + "”，之后的步骤没有运行。";
    std::vector<std::string> completed;
    for (const StageReport& stage : report.stages)
        if (stage.result.Completed()) completed.push_back(stage.OutputName());
    if (!completed.empty()) text += "\n已完成的 " + Joined(completed) + " 没有移入输出文件夹。";
    text += "\n输出文件夹保持原样。";
    return text;
}

}  // namespace qorvel
