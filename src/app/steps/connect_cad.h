#pragma once
// The drawing connection of the drawing steps. The drawing is a DXF file the surveyor opens
// once; later steps reuse it, and read it again when it was saved again since.

#include <memory>

#include "app/step_frame.h"
#include "drawing/attached_drawing.h"

namespace qorvel {

inline constexpr int kDrawingDialog = 7;  // the open dialog that remembers the drawing
inline constexpr const char* kDrawingFilter = "DXF图形文件(*.dxf)|*.dxf";

// Attaches the step to its drawing: asks for a DXF file when none is attached (cancel ends the
// step without a word), reads it again when the file changed on disk, then shows
// "连接CAD成功！". A drawing that cannot be read fails the step; the drawing attached before
// stays attached.
std::shared_ptr<const AttachedDrawing> ConnectCad(StepContext& step);

}  // namespace qorvel
