#include "frame/steps/section_files.h"

namespace qorvel::steps {

std::shared_ptr<const HeldSections> SectionsOfTheRun(StepInputs& inputs, const SectionResultOptions& options) {
    Session& session = inputs.session();
    if (!session.runFiles) return nullptr;
    using enum FileRole;
    const std::shared_ptr<const DataFile> files[4] = {inputs.File(Membership), inputs.File(CentreStakes),
                                                      inputs.File(DetailPoints), inputs.File(MatchedLines)};
    return session.runFiles->Sections(files, options, session.carriedAzimuth, inputs.progress());
}

}  // namespace qorvel::steps
