#pragma once
// The drawing the drawing steps read. The surveyor opens a DXF file once; later steps reuse it,
// and read it again when it was saved again since.

#include <memory>

#include "drawing/attached_drawing.h"
#include "frame/step_frame.h"

namespace qorvel {

// The drawing attached to the step's session: asks for a DXF file when none is attached (cancel
// ends the step without a word), reads it again when the file changed on disk, then shows
// "连接CAD成功！". A drawing that cannot be read fails the step; the drawing attached before
// stays attached.
std::shared_ptr<const AttachedDrawing> AttachedDrawingOf(StepContext& step);

}  // namespace qorvel
