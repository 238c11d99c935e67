#pragma once
// The file-to-file steps that assemble the centre stakes, match the section lines and group
// the detail points, each in the step frame.

#include "app/step_frame.h"

namespace qorvel::steps {

StepOutcome MergeCentreStakes(StepHost& host, Session& session);   // step 3
StepOutcome MatchSectionLines(StepHost& host, Session& session);   // step 6
StepOutcome GroupDetailPoints(StepHost& host, Session& session);   // step 9

}  // namespace qorvel::steps
