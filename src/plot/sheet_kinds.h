#pragma once
// The kinds of section-sheet file, one entry each: what the command line, the run, the window and
// the step's file dialog offer, how an output path names its kind (its extension), and how its
// writer is made. A new kind of sheet is an entry here and a SheetWriter; nothing else lists them.

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "plot/plot_canvas.h"
#include "plot/sheet_layout.h"

namespace qorvel {

enum class PlotKind { Pdf, Svg, Dxf };

// What a writer of any kind is made from.
struct SheetWriterRequest {
    std::string path;                 // the output as given
    std::string written;              // what is written: the path, or the folder of pages
    SheetGeometry sheet;
    std::size_t sheetCount = 0;
    std::size_t entityCount = 0;      // everything drawn on all sheets together
    std::optional<double> metresAt;   // DXF: the drawing in metres of ground at this scale's denominator
};

struct SheetKind {
    PlotKind kind;
    std::string_view name;       // as the command line and the settings write it, and the extension: "pdf"
    std::string_view caption;    // as the window shows it: "PDF"
    bool folderOfPages = false;  // written as a folder of one file a sheet (PlotOutputPath)
    bool (*available)() = nullptr;  // whether this build draws it
    std::unique_ptr<SheetWriter> (*makeWriter)(const SheetWriterRequest&) = nullptr;
};

// In the order offered; the first is the usual one.
std::span<const SheetKind> SheetKinds();
// By name ("pdf"), exactly; nullptr for any other.
const SheetKind* FindSheetKind(std::string_view name);
// By the path's extension, letter case ignored; nullptr for any other.
const SheetKind* SheetKindOfPath(std::string_view path);
// The kinds as a list for help and messages: "pdf、svg 或 dxf", ".pdf、.svg 或 .dxf" or "PDF、SVG 或 DXF".
enum class SheetKindWords { Names, Extensions, Captions };
std::string SheetKindList(SheetKindWords words);
// Why this build refuses `kind`: "本版本不能绘制 PDF 图纸，请改用 .svg 或 .dxf".
std::string SheetKindUnavailable(const SheetKind& kind);
// "断面图(*.pdf *.svg *.dxf)|*.pdf;*.svg;*.dxf": the file dialog's filter.
std::string SheetKindFilter();

}  // namespace qorvel
