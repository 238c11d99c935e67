#pragma once
// Section sheets from the sections of a result: the sections drawn one after another in the
// order the source hands them over (chainage order), laid out on sheets with a frame and a
// title block, and written as PDF, SVG or DXF according to the output's extension. This is what
// `qorvel plot`, `qorvel run --plot` and the viewer's export call.
//
// The output is replaced only when the whole plot succeeded (core/atomic_output.h). Sheets are
// written as they are drawn: memory does not grow with the number of sheets. The source is
// asked twice (see SectionSource): sizes first, for the number of sheets, then the drawing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "plot/section_drawing.h"
#include "plot/section_figure.h"
#include "plot/sheet_layout.h"

namespace qorvel {

enum class PlotKind { Pdf, Svg, Dxf };

// By the path's extension, letter case ignored: .pdf, .svg, .dxf; nothing for any other.
std::optional<PlotKind> PlotKindOfPath(std::string_view path);

struct PlotOptions {
    SheetSize sheet = SheetSize::A3;
    double scale = 200;         // horizontal scale 1:scale, from 1 to 100000
    double exaggeration = 1;    // vertical scale over horizontal, from 0.1 to 100
    std::string title = "横断面图";
    std::string date;           // as shown in the title block; empty: today, YYYY-MM-DD
};

// The scale a section is drawn at on a sheet of these options: the figure never exceeds the
// drawing area. The viewer draws with its own limits and exaggeration.
FigureScale SheetFigureScale(const PlotOptions& options);

struct PlotSummary {
    std::size_t sections = 0;  // sections drawn
    std::size_t sheets = 0;
    std::vector<std::string> emptyStations;    // sections without a surveyed point (problems)
    std::vector<std::string> clippedStations;  // sections drawn clipped
    std::string text;  // 共绘制断面 N 个，图纸 M 张。

    // What the surveyor should look at, one line for each kind of problem naming the first
    // stations; empty when there is none.
    std::string Warning() const;
};

inline constexpr const char* kPlotStatus = "绘制断面： ";

// Fails with a StepError for an output path without a known extension or options out of range
// (before anything is read), for a StepError of the source, for a file that cannot be written,
// and when the source hands over different sections in its second pass.
PlotSummary PlotSections(SectionSource& sections, const PlotOptions& options, const std::string& outputPath,
                         ProgressSink& progress);

}  // namespace qorvel
