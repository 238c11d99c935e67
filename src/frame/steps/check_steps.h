#pragma once
// The checks: the station labels against the centre stakes (step 5), the centre stakes against
// the matched section lines (step 7) and every section (step 12), each a computation over its
// files by role (frame/step_computation.h) handing its problems back as records.

#include "frame/step_computation.h"

namespace qorvel::steps {

StepReport CheckCentreStakes(StepInputs& inputs);  // step 5
StepReport CheckSectionLines(StepInputs& inputs);  // step 7
StepReport CheckSections(StepInputs& inputs);      // step 12

}  // namespace qorvel::steps
