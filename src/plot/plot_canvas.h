#pragma once
// What a section sheet is drawn with: lines, polylines, small point marks and single-line texts,
// each on one of the sheet's layers, in millimetres on the paper with y pointing up (as in a
// CAD drawing). The PDF, SVG and DXF writers and the window's section viewer each implement
// PlotCanvas, so what a section looks like is decided once, in section_figure.h and
// sheet_layout.h, and every output shows the same drawing.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qorvel {

struct PlotPoint {
    double x = 0;
    double y = 0;
};

struct PlotLine {
    PlotPoint from;
    PlotPoint to;
};

// Edges included.
struct PlotBox {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;

    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
    bool Contains(PlotPoint p) const { return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top; }
};

// The layers of a section sheet; the DXF names them so that a CAD user can switch them.
enum class PlotLayer {
    Ground,      // 地面线: the ground line and the marks of the surveyed points
    Stake,       // 中桩: the stake's vertical line
    Annotation,  // 标注: datum line, offset ticks, station, elevations
    Frame,       // 图框: sheet edge, frame and title block
    Table,       // 表格: the table of offsets and elevations under each section
};
inline constexpr PlotLayer kPlotLayers[] = {PlotLayer::Ground, PlotLayer::Stake, PlotLayer::Annotation, PlotLayer::Frame,
                                            PlotLayer::Table};
std::string_view LayerName(PlotLayer layer);  // UTF-8

enum class TextAlign { Left, Centre, Right };
// Bottom is the text's baseline.
enum class TextBaseline { Bottom, Middle, Top };

// Alignment and baseline are those of the text's own direction: a text turned by 90 degrees
// (reading upwards, as the numbers of a drawing's table are written where they stand close)
// is aligned along its own line and turned about its anchor.
struct PlotText {
    PlotPoint at;        // the anchor
    double height = 0;   // of a capital letter or a digit, millimetres
    TextAlign align = TextAlign::Left;
    TextBaseline baseline = TextBaseline::Bottom;
    std::string text;    // UTF-8, one line, not empty
    PlotLayer layer = PlotLayer::Annotation;
    double angle = 0;    // degrees counterclockwise; 0 or 90
};

// A surveyed point's mark: a small circle of this diameter, millimetres.
inline constexpr double kMarkDiameter = 0.8;
// Font size (em) over text height: the sheets' CJK font has digits 0.73 em tall.
inline constexpr double kEmPerTextHeight = 1.37;

// The width a text takes at `height`, estimated without a font: digits and Latin letters half
// an em, CJK characters a whole one. Lays out sections and keeps texts on their sheet; the
// writers measure again where they can.
double EstimatedTextWidth(std::string_view utf8, double height);
// The box a text covers on the paper, by EstimatedTextWidth: from a little below its baseline
// (descenders, the foot of CJK characters) to a little above its capitals, a number from its
// baseline to its digits' height, turned with it.
PlotBox EstimatedTextBox(const PlotText& text);
// Whether two boxes share more than an edge.
bool Overlap(const PlotBox& a, const PlotBox& b);
// `text` made fit for a sheet: bytes that are no UTF-8 and control characters become "?", and a
// text wider than `maxWidth` at `height` is shortened and ends in "…".
std::string FittedText(std::string_view text, double height, double maxWidth);

class PlotCanvas {
public:
    virtual ~PlotCanvas() = default;
    virtual void Line(PlotPoint from, PlotPoint to, PlotLayer layer) = 0;
    // At least two points; `closed` joins the last to the first.
    virtual void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) = 0;
    virtual void Mark(PlotPoint at, PlotLayer layer) = 0;
    virtual void Text(const PlotText& text) = 0;
};

// A document of sheets, written as they are drawn: Begin, then for each sheet BeginSheet, the
// drawing, EndSheet, and Finish, which puts the file in place. Destroyed without Finish (a
// failure), it leaves no file and an existing one as it was.
class SheetWriter : public PlotCanvas {
public:
    virtual void BeginSheet(std::size_t index) = 0;  // counted from 0
    virtual void EndSheet() = 0;
    virtual void Finish() = 0;
};

}  // namespace qorvel
