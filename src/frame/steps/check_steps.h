#pragma once
// The checks of the centre stakes and section lines, the station codes for detail points and
// the detail points moved onto their section lines, each in the step frame.

#include "frame/step_frame.h"

namespace qorvel::steps {

StepResult CheckCentreStakes(StepHost& host, Session& session, const Settings& settings);              // step 5
StepResult CheckSectionLines(StepHost& host, Session& session, const Settings& settings);              // step 7
StepResult AddPointCodes(StepHost& host, Session& session, const Settings& settings);                  // step 8
StepResult ProjectPointsOntoSectionLines(StepHost& host, Session& session, const Settings& settings);  // "计算横断面线上的点"

}  // namespace qorvel::steps
