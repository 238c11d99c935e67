#pragma once
// The four files every section step reads (membership, centre stakes, detail points, matched
// section lines), as the section computations take them.

#include <memory>

#include "frame/run_files.h"
#include "frame/step_computation.h"
#include "results/section_join.h"

namespace qorvel::steps {

inline SectionInputs SectionInputsOf(StepInputs& inputs) {
    using enum FileRole;
    return {inputs[Membership], inputs[CentreStakes], inputs[DetailPoints], inputs[MatchedLines]};
}

// In a run, the sections of the four files as step 10 built them, for step 10, the check and
// the sheets alike; nothing outside a run, or where building them fails (the step then works
// as a single step).
std::shared_ptr<const HeldSections> SectionsOfTheRun(StepInputs& inputs, const SectionResultOptions& options);

}  // namespace qorvel::steps
