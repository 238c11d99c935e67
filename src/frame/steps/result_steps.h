#pragma once
// Step 10, "10、输出成果": the cross-section result file; the sections drawn on sheets, each a
// computation over the four section files (frame/step_computation.h); and the sections opened
// for the viewer.

#include "frame/step_computation.h"

namespace qorvel::steps {

StepReport OutputSectionResults(StepInputs& inputs);  // step 10
StepReport PlotSections(StepInputs& inputs);          // section sheets
StepReport ConvertSectionFile(StepInputs& inputs);    // 格式转换
StepReport OutputGroundProfile(StepInputs& inputs);   // 纵断面地面线, by the output's extension
// Opens the sections for the viewer into Session::sectionsOnView; no message, no file.
StepResult ViewSections(StepHost& host, Session& session, const Settings& settings);

}  // namespace qorvel::steps
