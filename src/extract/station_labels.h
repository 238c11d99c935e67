#pragma once
// Step 2: the single-line texts on one layer (the centre-line station labels), each with its
// insertion point, written in the reverse of the drawing's order:
// number,,easting,northing,elevation,text with the coordinates "0.000" and the text in GBK.

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/output_text.h"
#include "core/progress.h"
#include "drawing/drawing.h"
#include "extract/drawing_warning.h"

namespace qorvel {

struct StationLabelResult {
    std::optional<DrawingWarning> warning;  // when set, nothing is to be written
    OutputText output;
    std::size_t labels = 0;
};

// `layer` is compared with each entity's layer exactly, letter case included. Progress goes
// through gathering ("转存文字点坐标及高程： k 个"), back to 0, then writing
// ("把坐标及高程写入文件： j 个"). A label that GBK cannot hold (or that holds a line break)
// fails with a StepError naming its line in the drawing.
StationLabelResult ExtractStationLabels(const Drawing& drawing, std::string_view layer, ProgressSink& progress);

}  // namespace qorvel
