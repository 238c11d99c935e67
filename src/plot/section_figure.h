#pragma once
// One cross-section drawn at a scale: the ground line from the farthest point of the first side
// through the stake to the farthest point of the second, a mark at each surveyed point, the
// stake's vertical line, a datum line at a round elevation below the lowest point (a multiple of
// 1 m, 5 m or 10 m as the section's height range asks) with its elevation at the left end,
// offset ticks every 5 m along it, and under it the station with the stake's elevation and the
// short reasons of the problems found for the section beside the station.
//
// On sheets a table of two rows stands between the ticks and the station, as design offices
// draw their sections: 距离, each point's offset from the stake (negative to the left), and
// 高程, its ground elevation, written as the result file writes them. Where the points stand
// too close for their numbers side by side, the numbers are turned to read upwards; where they
// stand too close even for that, some points' numbers are left out (never the stake's, nor the
// outermost point's of either side) and the figure counts them, so that the plot can name the
// section.
//
// The figure is plain geometry in millimetres, built once per section and drawn through any
// PlotCanvas: the sheet writers place it on a sheet, the window's viewer paints it and finds
// the surveyed point under the mouse from its marks. Its own coordinates put the stake at
// x = 0 and the datum line at y = 0; `bounds` encloses everything, texts included.
//
// Values a section can hold but no sheet can show (an elevation of -1e9 among points at 100 m,
// a distance of 1e300, a value that is not a number) never make the figure larger than the
// limits given: the window onto the ground is cut to fit, centred on the stake across and on
// the points' middle elevation up and down, everything is clipped to it, and the figure is
// flagged `clipped` so that the plot can name the station in a warning.

#include <cstddef>
#include <optional>
#include <vector>

#include "plot/plot_canvas.h"
#include "plot/section_drawing.h"

namespace qorvel {

struct FigureScale {
    double horizontal = 200;   // 1:200
    double exaggeration = 1;   // vertical scale over horizontal
    double maxWidth = 1000;    // the figure's bounds never exceed these, millimetres
    double maxHeight = 1000;
    // The table of offsets and elevations: the sheets write it, the viewer (which names the
    // point under the mouse) does not.
    bool table = false;
    int elevationDecimals = 2;  // the table's elevations: 2 as layouts 1 to 5 write them, or 3
};

struct FigureMark {
    PlotPoint at;
    bool secondSide = false;  // which side of the SectionDrawing the point comes from
    std::size_t index = 0;    // its place in that side
};

struct SectionFigure {
    std::vector<std::vector<PlotPoint>> ground;  // one piece, or several where clipping cut it
    std::vector<FigureMark> marks;               // surveyed points inside the window
    std::optional<PlotLine> stake;               // none when the stake's elevation is off the window
    PlotLine datum;
    std::vector<PlotLine> ticks;
    std::vector<PlotLine> tableLines;  // the table's rules, on the table layer
    std::vector<PlotText> texts;  // datum elevation, tick offsets, the table, station, stake elevation, problems
    PlotBox bounds;

    // The window onto the ground the figure shows: offsets (negative to the left) and
    // elevations, metres; and how many millimetres a metre takes each way.
    double leftOffset = 0;
    double rightOffset = 0;
    double datumElevation = 0;
    double topElevation = 0;
    double millimetresPerMetreAcross = 0;
    double millimetresPerMetreUp = 0;

    bool empty = false;    // the section has no surveyed point
    bool clipped = false;  // something lies outside the window or is no number
    bool turnedTable = false;       // the table's numbers read upwards
    std::size_t omittedPoints = 0;  // points in the window whose numbers the table leaves out

    // Where a ground position (offset, elevation) falls in the figure's coordinates.
    PlotPoint At(double offset, double elevation) const {
        return {offset * millimetresPerMetreAcross, (elevation - datumElevation) * millimetresPerMetreUp};
    }
    // Entities DrawSectionFigure draws (the DXF needs the count before writing).
    std::size_t PrimitiveCount() const;
};

inline constexpr double kTickStep = 5;  // metres between offset ticks

SectionFigure BuildSectionFigure(const SectionDrawing& section, const FigureScale& scale);

// Millimetres a figure keeps under its datum for the station, the stake elevation and the
// problems.
inline constexpr double kFigureTextBand = 28;

// The figure of `section` at the scale that fits it whole, texts included, into `roomAcross` by
// `roomUp` millimetres (at least 40 by 20), enlarged `zoom` times: what the window's and the
// browser's viewers show. Ground values that are no number, or beyond any survey, are left out
// of the fitting and clipped in the figure.
SectionFigure FitSectionFigure(const SectionDrawing& section, double roomAcross, double roomUp, double zoom,
                               double exaggeration);

// Draws the figure with its bounds' bottom-left corner at `corner`.
void DrawSectionFigure(const SectionFigure& figure, PlotPoint corner, PlotCanvas& canvas);

}  // namespace qorvel
