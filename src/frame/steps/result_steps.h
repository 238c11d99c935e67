#pragma once
// Step 10, "10、输出成果": the cross-section result file; the check of every section; the
// sections drawn on sheets; the sections opened for the viewer; each in the step frame.

#include "frame/step_frame.h"

namespace qorvel::steps {

StepResult OutputSectionResults(StepHost& host, Session& session, const Settings& settings);  // step 10
StepResult CheckSections(StepHost& host, Session& session, const Settings& settings);         // step 12
StepResult PlotSections(StepHost& host, Session& session, const Settings& settings);          // section sheets
// Opens the sections for the viewer into Session::sectionsOnView; no message, no file.
StepResult ViewSections(StepHost& host, Session& session, const Settings& settings);

}  // namespace qorvel::steps
