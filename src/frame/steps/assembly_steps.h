#pragma once
// The file steps that assemble the centre stakes, match the section lines, group the detail
// points by station, give detail points their station codes and move them onto their section
// lines: each a computation over its files by role (frame/step_computation.h).

#include "frame/step_computation.h"

namespace qorvel::steps {

StepReport MergeCentreStakes(StepInputs& inputs);              // step 3
StepReport MatchSectionLines(StepInputs& inputs);              // step 6
StepReport AddPointCodes(StepInputs& inputs);                  // step 8
StepReport GroupDetailPoints(StepInputs& inputs);              // step 9
StepReport ProjectPointsOntoSectionLines(StepInputs& inputs);  // 计算横断面线上的点

}  // namespace qorvel::steps
