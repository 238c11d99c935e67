#pragma once
// The checks of the centre stakes and section lines, the station codes for detail points and
// the detail points moved onto their section lines, each in the step frame.

#include "app/step_frame.h"

namespace qorvel::steps {

StepOutcome CheckCentreStakes(StepHost& host, Session& session);              // step 5
StepOutcome CheckSectionLines(StepHost& host, Session& session);              // step 7
StepOutcome AddPointCodes(StepHost& host, Session& session);                  // step 8
StepOutcome ProjectPointsOntoSectionLines(StepHost& host, Session& session);  // "计算横断面线上的点"

}  // namespace qorvel::steps
