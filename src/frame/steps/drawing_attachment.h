#pragma once
// The drawing the drawing steps read. The surveyor opens a DXF file once; later steps reuse it,
// and read it again when it was saved again since, or when the surveyor's code page (which
// decodes the texts of a drawing that names none) is another than the one it was read with.

#include <memory>

#include "drawing/attached_drawing.h"
#include "frame/step_frame.h"

namespace qorvel {

// How the settings read a drawing: the surveyor's code page.
DxfReadOptions DrawingReadOptions(const Settings& settings);

// The drawing attached to the step's session: asks for a DXF file when none is attached (cancel
// ends the step without a word), reads it again when the file changed on disk or the code page
// setting changed, then shows
// "连接CAD成功！". A drawing that cannot be read fails the step; the drawing attached before
// stays attached.
std::shared_ptr<const AttachedDrawing> AttachedDrawingOf(StepContext& step);

}  // namespace qorvel
