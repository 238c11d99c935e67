#pragma once
// A problem of the section check as a record of the frame: reason, station, side and figures in
// UTF-8, for the run's closing message and the viewer; stations as messages show them, a
// station of a damaged file shortened (DisplayText).

#include "checks/section_check.h"
#include "frame/step_result.h"

namespace qorvel {

CheckProblem CheckProblemOf(const SectionProblem& problem);

}  // namespace qorvel
