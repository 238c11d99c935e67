#include "frame/steps/drawing_steps.h"

#include <string>

#include "extract/polyline_vertices.h"
#include "extract/section_lines.h"
#include "extract/station_labels.h"
#include "frame/steps/drawing_attachment.h"

namespace qorvel::steps {

namespace {
void WarnIf(StepContext& step, const std::optional<DrawingWarning>& warning) {
    if (warning) step.Warn(warning->title, warning->text);
}
}  // namespace

StepResult ExtractPolylineVertices(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::PolylineVertices, [](StepContext& step) {
        const auto attached = AttachedDrawingOf(step);
        const auto selection = SelectPolylineVertices(attached->drawing(), step.settings().layerName);
        WarnIf(step, selection.warning);
        const std::string output = step.AskOutput();
        auto file = WritePolylineVertices(selection, step.progress());
        step.WriteOutput(output, std::move(file.output));
        step.Summary("本线段共有：" + std::to_string(file.vertices) + " 个节点", file.vertices);
        step.host().BringMainWindowToFront();
        step.progress().Percent(0);
        step.OpenResult();
    });
}

StepResult ExtractStationLabels(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::StationLabels, [](StepContext& step) {
        if (step.settings().layerName.empty()) step.Warn("注意！", "请您把要操作的图层名称填写完整！");
        const auto attached = AttachedDrawingOf(step);
        const std::string output = step.AskOutput();
        auto result = qorvel::ExtractStationLabels(attached->drawing(), step.settings().layerName, step.progress());
        WarnIf(step, result.warning);
        step.WriteOutput(output, std::move(result.output));
        step.Summary("图中共有桩号文字信息 " + std::to_string(result.labels) + " 个！", result.labels);
        step.host().SetStatus(1, "欢迎使用！");
        step.progress().Percent(0);
        step.OpenResult();
    });
}

StepResult ExtractSectionLines(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionLines, [](StepContext& step) {
        const auto attached = AttachedDrawingOf(step);
        const auto selection = SelectSectionLines(attached->drawing(), step.settings().layerName);
        WarnIf(step, selection.warning);
        const std::string output = step.AskOutput();
        auto file = WriteSectionLines(selection, step.progress());
        step.Finish(output, std::move(file.output), "本项目共有：" + std::to_string(file.lines) + " 条横断面线", file.lines);
    });
}

StepResult AttachDrawing(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::AttachDrawing, [](StepContext& step) {
        const std::string path = step.AskInputPath(FileRole::Drawing);
        step.session().drawing = AttachedDrawing::Load(path, DrawingReadOptions(step.settings()));
        step.Notice("连接CAD", "连接CAD成功！");
    });
}

}  // namespace qorvel::steps
