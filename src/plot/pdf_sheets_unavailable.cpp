// A build without cairo (the Windows and browser editions): no PDF sheets; SVG and DXF draw the
// same sheets.

#include "core/step_error.h"
#include "plot/plot_sections.h"
#include "plot/sheet_writers.h"

namespace qorvel {

bool PdfSheetsAvailable() { return false; }

std::unique_ptr<SheetWriter> MakePdfSheetWriter(const std::string& path, const SheetGeometry&) {
    throw StepError(path, StepError::kNoLine, StepError::kNoField, kNoPdfSheets);
}

}  // namespace qorvel
