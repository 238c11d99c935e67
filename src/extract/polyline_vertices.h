#pragma once
// Step 1: the vertices of the lightweight polylines on one layer, one numbered point per line
// in the layout of the detail point file (name,,easting,northing,0). Polylines come in the
// reverse of the drawing's order, each with its vertices from first to last; a vertex that
// coincides with an earlier one once reduced to three decimals is written once.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/output_text.h"
#include "core/progress.h"
#include "drawing/drawing.h"
#include "extract/drawing_warning.h"

namespace qorvel {

struct PolylineVertexSelection {
    std::optional<DrawingWarning> warning;  // when set, nothing is to be written
    // ",easting,northing,0" for every vertex gathered, in output order, repeats included.
    std::vector<std::string> records;
};

// What the step reads from the drawing before it asks for the output file. `layer` is compared
// with each entity's layer exactly, letter case included.
PolylineVertexSelection SelectPolylineVertices(const Drawing& drawing, std::string_view layer);

struct PolylineVertexFile {
    OutputText output;
    std::size_t vertices = 0;  // lines written
};

// Removes the repeats and numbers the vertices; status "已提取多段线节点数： n 个" as it goes.
PolylineVertexFile WritePolylineVertices(const PolylineVertexSelection& selection, ProgressSink& progress);

}  // namespace qorvel
