#pragma once
// The file-to-file steps that assemble the centre stakes, match the section lines and group
// the detail points, each in the step frame.

#include "frame/step_frame.h"

namespace qorvel::steps {

StepResult MergeCentreStakes(StepHost& host, Session& session, const Settings& settings);   // step 3
StepResult MatchSectionLines(StepHost& host, Session& session, const Settings& settings);   // step 6
StepResult GroupDetailPoints(StepHost& host, Session& session, const Settings& settings);   // step 9

}  // namespace qorvel::steps
