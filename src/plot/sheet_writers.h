#pragma once
// The three kinds of section-sheet file, each written sheet by sheet as the sheets are drawn,
// through a temporary file renamed over the target at Finish (core/atomic_output.h): memory
// stays the same however many sheets there are, and a failed plot leaves no file.
//
// - PDF, through cairo: one page per sheet; text in the "WenQuanYi Micro Hei" font, embedded as
//   a subset, so Chinese text shows on any reader.
// - SVG, written here rather than through cairo: cairo's SVG surface keeps the whole document
//   in memory until it is finished and turns every text into glyph outlines. Ours streams, and
//   keeps texts as <text> elements (searchable, selectable) that name the CJK fonts to use. An
//   SVG has one canvas, so the sheets stand one under another, with a gap, in sheet order.
// - DXF R2000 (AC1015), written here: strings in GBK ($DWGCODEPAGE ANSI_936), a text style
//   "HZ" on the TrueType font 宋体, the layers 地面线, 中桩, 标注 and 图框, entities LINE,
//   LWPOLYLINE and TEXT in millimetres of paper in model space, the sheets side by side from
//   left to right. Handles are numbered ahead of the entities (the header's $HANDSEED comes
//   first), so the writer is told how many entities will follow.

#include <cstddef>
#include <memory>
#include <string>

#include "plot/plot_canvas.h"
#include "plot/sheet_layout.h"

namespace qorvel {

// Each fails with a StepError naming `path` when the file cannot be created.
std::unique_ptr<SheetWriter> MakePdfSheetWriter(const std::string& path, const SheetGeometry& sheet);
std::unique_ptr<SheetWriter> MakeSvgSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount);
// `entityCount`: lines, polylines, marks and texts that will be drawn on all sheets together;
// drawing more fails with a StepError.
std::unique_ptr<SheetWriter> MakeDxfSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount,
                                                std::size_t entityCount);

// Millimetres between two sheets: one under another in an SVG, side by side in a DXF.
inline constexpr double kSheetGap = 20;

}  // namespace qorvel
