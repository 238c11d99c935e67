#pragma once
// The four files every section step reads (membership, centre stakes, detail points, matched
// section lines), as the section computations take them.

#include "frame/step_computation.h"
#include "results/section_join.h"

namespace qorvel::steps {

inline SectionInputs SectionInputsOf(StepInputs& inputs) {
    using enum FileRole;
    return {inputs[Membership], inputs[CentreStakes], inputs[DetailPoints], inputs[MatchedLines]};
}

}  // namespace qorvel::steps
