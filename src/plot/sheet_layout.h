#pragma once
// The sheets sections are drawn on, and where each section goes. Sheets are landscape, framed
// as Chinese drawings are (a 25 mm binding margin on the left), with a road drawing's title
// block along the frame's foot: project and road, the drawing's name, both scales, the empty
// 设计, 复核 and 审核 cells to sign, the drawing number, the sheet's number and the date.
//
// Sections fill the drawing area in columns, from the bottom up, column after column from left
// to right, each column as wide as its widest section and the stakes of a column on one
// vertical; a section goes to the next column, or the next sheet, only when it does not fit in
// what is left of the current one. The columns of a sheet stand centred across it. Placing
// needs only each section's extent, so the plot runs the planner twice: over the sizes first
// (which fixes every column's width, where its stakes stand, and the number of sheets before
// the first sheet is written), then again to draw, getting the same places. The planner keeps
// one number per column (where its stakes stand), never anything per section.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    PlotBox titleBlock;   // along the frame's foot, the frame's full width, two rows
    PlotBox drawingArea;  // inside the frame above the title block, less a clearance
    double titleTextHeight = 0;  // of the title block's texts; its cells are sized by it

    static SheetGeometry Of(SheetSize size);
};

// "1:200", the denominator with up to four decimals.
std::string ScaleRatio(double denominator);

struct SheetTitle {
    std::string project;        // 项目名称; may be empty
    std::string road;           // 路线名称; may be empty
    std::string title;          // the drawing's name
    std::string acrossScale;    // ScaleRatio of the horizontal scale
    std::string upScale;        // and of the vertical one
    std::string drawingNumber;  // as given; the sheet's number is appended (SheetDrawingNumber)
    std::size_t number = 1;     // this sheet, from 1
    std::size_t count = 1;      // sheets in the document
    std::string date;           // as it is to be shown
};

// The drawing number of one sheet: the document's, "-" and the sheet's number ("S3-2" and sheet
// 4 give "S3-2-4"); empty when the document has none.
std::string SheetDrawingNumber(std::string_view number, std::size_t sheet);

// The paper's edge, the frame and the title block with its texts, on the frame layer.
void DrawSheetFrame(const SheetGeometry& sheet, const SheetTitle& title, PlotCanvas& canvas);

// What the planner needs of a section's figure, millimetres: how far it reaches left and right
// of its stake, and its height.
struct SectionExtent {
    double left = 0;
    double right = 0;
    double height = 0;
};

struct SectionPlace {
    std::size_t sheet = 0;  // counted from 0
    double stakeX = 0;      // the vertical the section's stake stands on
    double bottom = 0;      // where the section's box puts its foot
};

class SheetPlanner {
public:
    static constexpr double kColumnGap = 8;  // millimetres between columns
    static constexpr double kRowGap = 4;     // between sections in a column

    explicit SheetPlanner(PlotBox drawingArea) : area_(drawingArea) {}

    // First pass: the next section's extent. An extent larger than the drawing area is taken
    // as the area (a column, or a sheet, of its own); its drawing must be clipped to the area
    // beforehand (BuildSectionFigure does).
    void Add(SectionExtent extent);
    // Sheets begun in the first pass (at least one once a section is added).
    std::size_t sheets() const { return adding_.started ? adding_.sheet + 1 : 0; }

    // Second pass, the same extents in the same order: each section's place. Nothing when the
    // sections differ from the first pass's so much that they ask for a column it never had.
    std::optional<SectionPlace> Place(SectionExtent extent);

private:
    // A column of the sheet being filled in the first pass.
    struct Column {
        double left = 0;       // without the centring of its sheet
        double reachLeft = 0;  // of its widest sections, left and right of the stakes
        double reachRight = 0;
    };
    // Where the filling stands: the column being filled and its height so far.
    struct Fill {
        bool started = false;
        std::size_t column = 0;
        std::size_t sheet = 0;
        double left = 0;
        double reachLeft = 0;
        double reachRight = 0;
        double nextBottom = 0;
    };
    SectionExtent Held(SectionExtent extent) const;
    // Moves `fill` on by one section: to the next column or sheet when it does not fit.
    void Step(Fill& fill, const SectionExtent& extent) const;
    // The columns of a filled sheet, centred, become the verticals of their stakes.
    void CloseSheet();

    PlotBox area_;
    std::vector<Column> open_;   // the sheet being filled
    std::vector<double> stakes_;  // every column's stakes' vertical, from the first on: all the planner keeps
    Fill adding_;
    Fill placing_;
    bool closed_ = false;
};

}  // namespace qorvel
