#pragma once
// Section sheets from the sections of a result: the sections drawn one after another in the
// order the source hands them over (chainage order), laid out on sheets with a frame and a
// title block, and written as PDF, SVG pages or DXF according to the output's extension. This is
// what `qorvel plot`, `qorvel run --plot` and the viewer's export call.
//
// The output is replaced only when the whole plot succeeded (core/atomic_output.h; the folder
// of SVG pages as a whole, core/staged_folder.h). Sheets are
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
#include "plot/sheet_kinds.h"
#include "plot/sheet_layout.h"

namespace qorvel {

// By the path's extension, letter case ignored (plot/sheet_kinds.h); nothing for any other.
std::optional<PlotKind> PlotKindOfPath(std::string_view path);

// Whether this build draws PDF sheets (it does where cairo was found; a build without it
// writes SVG and DXF only, and a PDF request fails naming them).
bool PdfSheetsAvailable();

// What a plot to `path` writes: the file itself for PDF and DXF; for a kind written as a folder
// of pages (SVG) the folder, the path without its extension and "-sheets" ("out/10-sections.svg" gives
// "out/10-sections-sheets"). Front ends show and open this, list it among a run's files and
// refuse it as one of a step's inputs.
std::string PlotOutputPath(std::string_view path);
// The page of sheet `number` (from 1) of `count` in an SVG folder: "sheet-001.svg", with as
// many digits as the count needs past 999.
std::string SvgPageName(std::size_t number, std::size_t count);
// Whether a file name is one of those pages.
bool IsSvgPageName(std::string_view name);
// The usual name of one section's sheet ("K0+080.pdf"): the station as the sheets write it,
// with the characters no file name may hold replaced by "_".
std::string OneSectionSheetName(const SectionDrawing& section, PlotKind kind);

enum class DxfUnits {
    Metres,       // 1 drawing unit = 1 m of ground; the frame and texts at the print scale
    Millimetres,  // millimetres of paper
};
// "m" or "mm"; nothing for any other.
std::optional<DxfUnits> DxfUnitsByName(std::string_view name);

struct PlotOptions {
    SheetSize sheet = SheetSize::A3;
    double scale = 200;         // horizontal scale 1:scale, from 1 to 100000
    double exaggeration = 1;    // vertical scale over horizontal, from 0.1 to 100
    std::string title = "横断面图";
    std::string project;        // 项目名称 in the title block, UTF-8; may be empty
    std::string road;           // 路线名称; may be empty
    std::string drawingNumber;  // 图号; each sheet's number is appended; may be empty
    std::string date;           // as shown in the title block; empty: today, YYYY-MM-DD
    int elevationDecimals = 2;  // of the tables' elevations, as the result writes them: 2 or 3
    DxfUnits dxfUnits = DxfUnits::Metres;
};

// Why the options cannot be drawn with (the scale beyond 1:1 to 1:100000, the exaggeration
// beyond 0.1 to 100, or either not a number), empty when they can. PlotSections fails on it
// before anything is read; the front ends check the same through the frame before any work.
std::string PlotOptionsProblem(const PlotOptions& options);

// The scale a section is drawn at on a sheet of these options: the figure never exceeds the
// drawing area. The viewer draws with its own limits and exaggeration.
FigureScale SheetFigureScale(const PlotOptions& options);

// Sections of one kind the surveyor should look at: how many, and the first few by station.
struct NamedStations {
    static constexpr std::size_t kNamed = 10;
    std::size_t count = 0;
    std::vector<std::string> first;  // at most kNamed

    void Add(std::string station) {
        if (++count <= kNamed) first.push_back(std::move(station));
    }
};

struct PlotSummary {
    std::size_t sections = 0;  // sections drawn
    std::size_t sheets = 0;
    std::string output;        // PlotOutputPath: the file, or the folder of SVG pages
    NamedStations emptyStations;    // sections without a surveyed point (problems)
    NamedStations clippedStations;  // sections drawn clipped
    NamedStations crowdedStations;  // sections whose table leaves some points' numbers out
    std::string text;  // 共绘制断面 N 个，图纸 M 张。

    // What the surveyor should look at, one line for each kind of problem naming the first
    // stations; empty when there is none.
    std::string Warning() const;
};

inline constexpr const char* kPlotStatus = "绘制断面： ";

// Fails with a StepError for an output path without a known extension, options out of range
// or a PDF this build cannot draw (before anything is read), for a StepError of the source, for
// a file that cannot be written, and when the source hands over different sections in its
// second pass.
PlotSummary PlotSections(SectionSource& sections, const PlotOptions& options, const std::string& outputPath,
                         ProgressSink& progress);

}  // namespace qorvel
