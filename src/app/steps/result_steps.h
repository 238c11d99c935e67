#pragma once
// Step 10, "10、输出成果": the cross-section result file; the check of every section; the
// sections drawn on sheets; each in the step frame.

#include "app/step_frame.h"

namespace qorvel::steps {

StepResult OutputSectionResults(StepHost& host, Session& session, const Settings& settings);  // step 10
StepResult CheckSections(StepHost& host, Session& session, const Settings& settings);         // step 12
StepResult PlotSections(StepHost& host, Session& session, const Settings& settings);          // section sheets

}  // namespace qorvel::steps
