#include "app/pipeline_summary.h"

#include "core/fields.h"
#include "core/step_error.h"

namespace qorvel {

namespace {

// The text after the `count`-th comma of `line`; the whole line when it has fewer.
std::string_view AfterCommas(std::string_view line, int count) {
    std::string_view rest = line;
    for (int comma = 0; comma < count; ++comma) {
        const std::size_t at = rest.find(',');
        if (at == std::string_view::npos) return line;
        rest.remove_prefix(at + 1);
    }
    return rest;
}

std::string_view Field(std::string_view line, int index) {
    const std::string_view rest = AfterCommas(line, index);
    return rest.substr(0, rest.find(','));
}

// A check report's lines are the reason, then the line it concerns as it stands: a station text
// line (its label from field 5 on, the label may hold commas) or a centre-stake line (its
// chainage in field 0).
void ReadProblems(const StageReport* check, std::vector<std::string>& problems) {
    if (check == nullptr || check->outcome != StepOutcome::Completed) return;
    const bool labels = check->stage->output == PipelineFile::StakeCheck;
    try {
        const DataFile report = DataFile::Load(check->output);
        for (const Record& record : report.records()) {
            const std::string reason = DisplayText(Field(record.text, 0));
            const std::string_view concerned = AfterCommas(record.text, 1);
            problems.push_back(labels ? reason + "：" + DisplayText(AfterCommas(concerned, 5))
                                      : reason + "：中桩 " + DisplayText(Field(concerned, 0)));
        }
    } catch (const StepError& error) {
        problems.push_back("无法读回检查结果：" + error.describe());
    }
}

}  // namespace

std::string StageLine(const StageReport& report) {
    return std::string(report.stage->fileName) + "：" + report.summary;
}

std::vector<std::string> CheckProblems(const PipelineReport& report) {
    std::vector<std::string> problems;
    ReadProblems(report.Find(PipelineFile::StakeCheck), problems);
    ReadProblems(report.Find(PipelineFile::LineCheck), problems);
    return problems;
}

std::string PipelineSummaryText(const PipelineReport& report, std::size_t maxProblems) {
    std::string text;
    if (const StageReport* result = report.Find(PipelineFile::Sections))
        text += "断面成果已生成：" + result->output + "\n\n";
    for (const StageReport& stage : report.stages)
        if (stage.outcome == StepOutcome::Completed) text += StageLine(stage) + "\n";

    const std::vector<std::string> problems = CheckProblems(report);
    if (problems.empty()) {
        text += "\n检查未发现问题。";
        return text;
    }
    text += "\n检查发现 " + std::to_string(problems.size()) + " 个问题：";
    for (std::size_t index = 0; index < problems.size() && index < maxProblems; ++index)
        text += "\n" + problems[index];
    if (problems.size() > maxProblems)
        text += "\n……另有 " + std::to_string(problems.size() - maxProblems) + " 个，详见 " +
                std::string(StageWriting(PipelineFile::StakeCheck)->fileName) + " 和 " +
                std::string(StageWriting(PipelineFile::LineCheck)->fileName) + "。";
    return text;
}

std::string PipelineStopText(const PipelineReport& report) {
    if (report.stages.empty()) return "一键生成没有开始，没有写出任何文件。";
    const StageReport& stopped = report.stages.back();
    std::string text = "一键生成停在“" + std::string(stopped.stage->Step().caption) + "”，之后的步骤没有运行。";
    std::string written;
    for (const StageReport& stage : report.stages)
        if (stage.outcome == StepOutcome::Completed) written += (written.empty() ? "" : "、") + std::string(stage.stage->fileName);
    text += written.empty() ? "\n本次没有写出文件。" : "\n本次已写出：" + written + "。";
    if (!report.earlierFiles.empty()) {
        std::string earlier;
        for (const std::string& name : report.earlierFiles) earlier += (earlier.empty() ? "" : "、") + name;
        text += "\n文件夹中的 " + earlier + " 是以前生成的，不属于本次结果。";
    }
    return text;
}

}  // namespace qorvel
