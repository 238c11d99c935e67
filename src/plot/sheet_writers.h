#pragma once
// The three kinds of section-sheet file, each written sheet by sheet as the sheets are drawn,
// through a temporary file renamed over the target at Finish (core/atomic_output.h): memory
// stays the same however many sheets there are, and a failed plot leaves no file.
//
// - PDF, through cairo: one page per sheet; text in the "WenQuanYi Micro Hei" font, embedded as
//   a subset, so Chinese text shows on any reader.
//   Only this writer needs cairo: a build without it (QORVEL_PDF_SHEETS off) has a PDF writer
//   that refuses, naming SVG and DXF.
// - SVG, written here rather than through cairo: cairo's SVG surface keeps the whole document
//   in memory until it is finished and turns every text into glyph outlines. Ours streams, and
//   keeps texts as <text> elements (searchable, selectable) that name the CJK fonts to use.
//   One SVG has one canvas, and image tools and browsers open a page, not a roll of them: each
//   sheet is a page of its own (SvgPageName), the pages in a folder replaced as a whole
//   (core/staged_folder.h).
// - DXF R2000 (AC1015), written here: strings in GBK ($DWGCODEPAGE ANSI_936), a text style
//   "HZ" on the TrueType font 宋体, the layers 地面线, 中桩, 标注, 表格 and 图框, entities LINE,
//   LWPOLYLINE and TEXT in model space, the sheets side by side from left to right. Drawn at
//   the ground's size by default, one unit a metre ($INSUNITS 6) with the frame and the texts
//   as large as printing at the scale makes them the sheet, so that a CAD user measures
//   offsets in metres; or in millimetres of paper ($INSUNITS 4). Handles are numbered ahead of
//   the entities (the header's $HANDSEED comes first), so the writer is told how many entities
//   will follow.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "plot/plot_canvas.h"
#include "plot/sheet_layout.h"

namespace qorvel {

// Each fails with a StepError naming `path` when the file cannot be created.
std::unique_ptr<SheetWriter> MakePdfSheetWriter(const std::string& path, const SheetGeometry& sheet);
// `folder`: where the pages go (PlotOutputPath); a folder already there must hold pages only.
std::unique_ptr<SheetWriter> MakeSvgSheetWriter(const std::string& folder, const SheetGeometry& sheet, std::size_t sheetCount);
// `entityCount`: lines, polylines, marks and texts that will be drawn on all sheets together;
// drawing more fails with a StepError. `printScale`: the drawing in metres of ground for that
// scale's denominator; none, in millimetres of paper.
std::unique_ptr<SheetWriter> MakeDxfSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount,
                                                std::size_t entityCount, std::optional<double> printScale);

// Why a build without cairo refuses a PDF.
inline constexpr const char* kNoPdfSheets = "本版本不能绘制 PDF 图纸，请改用 .svg 或 .dxf";

// Millimetres of paper between two sheets side by side in a DXF.
inline constexpr double kSheetGap = 20;

}  // namespace qorvel
