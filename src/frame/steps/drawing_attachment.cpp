#include "frame/steps/drawing_attachment.h"

namespace qorvel {

std::shared_ptr<const AttachedDrawing> AttachedDrawingOf(StepContext& step) {
    std::shared_ptr<AttachedDrawing>& attached = step.session().drawing;
    if (!attached)
        attached = AttachedDrawing::Load(step.AskInputPath(FileRole::Drawing));
    else if (attached->ChangedOnDisk())
        attached = AttachedDrawing::Load(attached->path());
    step.Notice("连接CAD", "连接CAD成功！");
    return attached;
}

}  // namespace qorvel
