#pragma once
// The sheets sections are drawn on, and where each section goes. Sheets are landscape; a frame
// leaves the binding margin on the left, a title block runs along the frame's foot, and the
// rest is the drawing area. Sections fill it as section sheets are usually laid out: in columns
// from the bottom up, column after column from left to right, and a new sheet when the next
// section fits in neither the column nor a new column. Placing needs only each section's size,
// so the same planner run twice (sizes only, then drawing) gives the same places and the sheet
// count is known before the first sheet is written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "plot/plot_canvas.h"

namespace qorvel {

enum class SheetSize { A4, A3, A1 };

// "A4", "A3", "A1" (letter case ignored); nothing for any other name.
std::optional<SheetSize> SheetSizeByName(std::string_view name);
std::string_view SheetSizeName(SheetSize size);

struct SheetGeometry {
    double width = 0;   // the paper, landscape, millimetres
    double height = 0;
    PlotBox frame;        // the drawn frame inside the margins
    PlotBox titleBlock;   // along the frame's foot, the frame's full width
    PlotBox drawingArea;  // inside the frame above the title block, less a clearance
    double titleTextHeight = 0;

    static SheetGeometry Of(SheetSize size);
};

// "1:200"; with a vertical exaggeration other than 1, both scales: "横 1:200 竖 1:40".
std::string ScaleText(double horizontalScale, double exaggeration);

struct SheetTitle {
    std::string title;  // the drawing's title
    std::string scale;  // ScaleText
    std::size_t number = 1;  // this sheet, from 1
    std::size_t count = 1;   // sheets in the document
    std::string date;   // as it is to be shown
};

// The paper's edge, the frame and the title block with its texts, on the frame layer.
void DrawSheetFrame(const SheetGeometry& sheet, const SheetTitle& title, PlotCanvas& canvas);

struct SectionPlace {
    std::size_t sheet = 0;  // counted from 0
    PlotPoint corner;       // where the section's box puts its bottom-left corner on that sheet
};

class SheetPlanner {
public:
    static constexpr double kColumnGap = 8;  // millimetres between columns
    static constexpr double kRowGap = 4;     // between sections in a column

    explicit SheetPlanner(PlotBox drawingArea) : area_(drawingArea) {}

    // The place of the next section whose box is `width` by `height`. A box larger than the
    // drawing area takes a column (or a sheet) of its own and is placed at the area's corner;
    // its drawing must be clipped to the area beforehand (BuildSectionFigure does).
    SectionPlace Place(double width, double height);
    // Sheets begun so far (at least one once a section is placed).
    std::size_t sheets() const { return placed_ ? sheet_ + 1 : 0; }

private:
    PlotBox area_;
    bool placed_ = false;
    std::size_t sheet_ = 0;
    double columnLeft_ = 0;
    double columnWidth_ = 0;
    double nextBottom_ = 0;
};

}  // namespace qorvel
