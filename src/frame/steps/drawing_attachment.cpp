#include "frame/steps/drawing_attachment.h"

namespace qorvel {

DxfReadOptions DrawingReadOptions(const Settings& settings) { return {.codePage = settings.codePage}; }

std::shared_ptr<const AttachedDrawing> AttachedDrawingOf(StepContext& step) {
    std::shared_ptr<AttachedDrawing>& attached = step.session().drawing;
    const DxfReadOptions options = DrawingReadOptions(step.settings());
    if (!attached)
        attached = AttachedDrawing::Load(step.AskInputPath(FileRole::Drawing), options);
    else if (attached->ChangedOnDisk() || attached->options() != options)
        attached = AttachedDrawing::Load(attached->path(), options);
    step.Notice("连接CAD", "连接CAD成功！");
    return attached;
}

}  // namespace qorvel
