// The browser has no cairo, so the module cannot write PDF sheets itself: the page draws the
// sheets as SVG and the browser prints them to PDF (its print dialog's "另存为 PDF"), with the
// fonts of the surveyor's own system.

#include "core/step_error.h"
#include "plot/sheet_writers.h"

namespace qorvel {

std::unique_ptr<SheetWriter> MakePdfSheetWriter(const std::string& path, const SheetGeometry&) {
    throw StepError(path, 0, StepError::kNoField, "浏览器版不能直接写出 PDF 断面图：请绘制 SVG 断面图，再用“打印为 PDF”保存");
}

}  // namespace qorvel
