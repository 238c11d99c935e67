#include "results/section_results.h"

#include "results/section_sides.h"

namespace qorvel {

SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress) {
    const SectionJoin join = JoinSectionRecords(inputs, carriedAzimuth, progress);
    SectionResults results;
    const std::size_t count = join.records.size();
    for (std::size_t s = 0; s < count; ++s) {
        const SectionRecord& record = join.records[s];
        const SectionSides sides = BuildSectionSides(record, options.stakeAvoidDistance, carriedAzimuth);
        ++results.sections;
        if (WriteSectionLayout(record, sides.first, sides.second, options.layout, results.output)) {
            ++results.written;
            progress.Advance(kWriteSectionsStatus, s + 1, count);
        }
    }
    return results;
}

}  // namespace qorvel
