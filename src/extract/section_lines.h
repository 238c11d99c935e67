#pragma once
// Step 4: the two ends of every line on one layer (the cross-section lines drawn across the
// route), one numbered line per entity in the drawing's order: number,x1,y1,x2,y2. A line
// keeps the direction it was drawn in.

#include <array>
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

struct SectionLineSelection {
    std::optional<DrawingWarning> warning;  // when set, nothing is to be written
    // Start easting, start northing, end easting, end northing of each line, as written.
    std::vector<std::array<std::string, 4>> ends;
};

// What the step reads from the drawing before it asks for the output file. `layer` is compared
// with each entity's layer exactly, letter case included.
SectionLineSelection SelectSectionLines(const Drawing& drawing, std::string_view layer);

struct SectionLineFile {
    OutputText output;
    std::size_t lines = 0;
};

// Numbers the lines; status "已提取横断面线条数： j 个" as it goes.
SectionLineFile WriteSectionLines(const SectionLineSelection& selection, ProgressSink& progress);

}  // namespace qorvel
