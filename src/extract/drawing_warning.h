#pragma once
// A condition in the drawing the surveyor must act on (no entities of the kind looked for, no
// such layer): the step shows it in a warning box and ends without writing.
//
// Layer names compare exactly, letter case included, and a layer typed as "ZH" for a drawing
// that has "zh" looks like a drawing without labels. So a warning about a layer the drawing
// does not have adds, after its own first sentence, the layer asked for and the layers the
// drawing does have.

#include <string>
#include <string_view>

#include "drawing/drawing.h"

namespace qorvel {

struct DrawingWarning {
    std::string title;
    std::string text;
};

inline constexpr const char* kCheckDrawingTitle = "请检查图形！";

// `text`, and when `layer` is none of the drawing's layers a second line naming it and listing
// the drawing's layers: "图中没有“ZH”图层（图层名区分大小写），图中的图层有：bt、dmx、zh、zxx。"
DrawingWarning LayerWarning(std::string title, std::string text, const Drawing& drawing, std::string_view layer);

}  // namespace qorvel
