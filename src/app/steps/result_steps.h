#pragma once
// Step 10, "10、输出成果": the cross-section result file, in the step frame.

#include "app/step_frame.h"

namespace qorvel::steps {

StepResult OutputSectionResults(StepHost& host, Session& session, const Settings& settings);  // step 10

}  // namespace qorvel::steps
