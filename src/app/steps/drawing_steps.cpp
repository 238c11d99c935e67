#include "app/steps/drawing_steps.h"

#include <string>

#include "app/steps/connect_cad.h"
#include "extract/polyline_vertices.h"
#include "extract/section_lines.h"
#include "extract/station_labels.h"

namespace qorvel::steps {

namespace {
void WarnIf(StepContext& step, const std::optional<DrawingWarning>& warning) {
    if (warning) step.Warn(warning->title, warning->text);
}
}  // namespace

StepOutcome ExtractPolylineVertices(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const auto attached = ConnectCad(step);
        const auto selection = SelectPolylineVertices(attached->drawing(), step.settings().LayerName);
        WarnIf(step, selection.warning);
        const std::string output = step.AskOutput(1, "保存_多段线节点的dat文件(*.dat)|*.dat");
        const auto file = WritePolylineVertices(selection, step.progress());
        step.WriteOutput(output, file.output);
        step.Summary("本线段共有：" + std::to_string(file.vertices) + " 个节点");
        step.host().BringMainWindowToFront();
        step.progress().Percent(0);
        step.OpenResult();
    });
}

StepOutcome ExtractStationLabels(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        if (step.settings().LayerName.empty()) step.Warn("注意！", "请您把要操作的图层名称填写完整！");
        const auto attached = ConnectCad(step);
        const std::string output = step.AskOutput(1, "保存_桩号文字信息_dat文件(*.dat)|*.dat");
        const auto result = qorvel::ExtractStationLabels(attached->drawing(), step.settings().LayerName, step.progress());
        WarnIf(step, result.warning);
        step.WriteOutput(output, result.output);
        step.Summary("图中共有桩号文字信息 " + std::to_string(result.labels) + " 个！");
        step.host().SetStatus(1, "欢迎使用！");
        step.progress().Percent(0);
        step.OpenResult();
    });
}

StepOutcome ExtractSectionLines(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const auto attached = ConnectCad(step);
        const auto selection = SelectSectionLines(attached->drawing(), step.settings().LayerName);
        WarnIf(step, selection.warning);
        const std::string output = step.AskOutput(1, "取出_断面线端点坐标（dat文件）(*.dat)|*.dat");
        const auto file = WriteSectionLines(selection, step.progress());
        step.Finish(output, file.output, "本项目共有：" + std::to_string(file.lines) + " 条横断面线");
    });
}

StepOutcome AttachDrawing(StepHost& host, Session& session) {
    return RunStep(host, session, [](StepContext& step) {
        const std::string path = step.AskInputPath(kDrawingDialog, kDrawingFilter);
        step.session().drawing = AttachedDrawing::Load(path);
        step.Notice("连接CAD", "连接CAD成功！");
    });
}

}  // namespace qorvel::steps
