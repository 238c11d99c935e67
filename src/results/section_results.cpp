#include "results/section_results.h"

#include <optional>
#include <string_view>
#include <vector>

#include "core/step_error.h"
#include "core/two_halves.h"
#include "results/section_sides.h"

namespace qorvel {

namespace {

// A section built and written ahead, apart from the others: its text in the part's output, and
// the azimuth it leaves behind.
struct Prepared {
    bool ready = false;  // false: left for the pass in order
    bool written = false;
    std::size_t textEnd = 0;  // its text ends here in the part's output
    std::size_t linesEnd = 0;  // and its last line is this one
    std::optional<double> azimuthLeft;
};

struct PreparedPart {
    OutputText output;
    std::vector<Prepared> sections;
};

// Builds and writes every section of [begin, end) that does not depend on the azimuth carried
// in (no point lies on its stake) and meets no failure; the others are left for the pass in
// order, which then meets the same failure at the same place.
void prepare(const SectionJoin& join, const SectionResultOptions& options, std::size_t begin, std::size_t end,
             PreparedPart& part) {
    part.sections.resize(end - begin);
    for (std::size_t s = begin; s < end; ++s) {
        Prepared& prepared = part.sections[s - begin];
        const std::size_t textStart = part.output.bytes().size();
        const std::size_t linesStart = part.output.lineCount();
        try {
            const SectionRecord& record = join.records[s];
            const auto sides = BuildIndependentSectionSides(record, options.stakeAvoidDistance, prepared.azimuthLeft);
            if (sides) {
                prepared.written = WriteSectionLayout(record, sides->first, sides->second, options.layout, part.output);
                prepared.ready = true;
            }
        } catch (const StepError&) {
            prepared.ready = false;
        }
        if (!prepared.ready) part.output.Truncate(textStart, linesStart);
        prepared.textEnd = part.output.bytes().size();
        prepared.linesEnd = part.output.lineCount();
    }
}

}  // namespace

SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress) {
    const SectionJoin join = JoinSectionRecords(inputs, carriedAzimuth, progress);
    SectionResults results;
    const std::size_t count = join.records.size();
    // About two numbers of six characters and their blanks for every point, and a station.
    results.output.Reserve(14 * join.memberPoints.size() + 40 * count);

    // The sections are built and written on two threads, each half on its own. Only the azimuth
    // carried from section to section ties them together, and only through points that lie
    // exactly on a stake: those sections, and those that fail, are done again in order below.
    PreparedPart parts[2];
    constexpr std::size_t kWorthASecondThread = 1000;
    InTwoHalves(count, kWorthASecondThread,
                [&](std::size_t begin, std::size_t end, int part) { prepare(join, options, begin, end, parts[part]); });

    const std::size_t half = count / 2;
    for (std::size_t s = 0; s < count; ++s) {
        const PreparedPart& part = parts[s < half ? 0 : 1];
        const std::size_t k = s < half ? s : s - half;
        const Prepared& prepared = part.sections[k];
        bool written = false;
        if (prepared.ready) {
            const Prepared* before = k == 0 ? nullptr : &part.sections[k - 1];
            const std::size_t textStart = before ? before->textEnd : 0;
            const std::size_t linesStart = before ? before->linesEnd : 0;
            results.output.AppendLines(
                std::string_view(part.output.bytes()).substr(textStart, prepared.textEnd - textStart),
                prepared.linesEnd - linesStart);
            if (prepared.azimuthLeft) carriedAzimuth = *prepared.azimuthLeft;
            written = prepared.written;
        } else {
            const SectionRecord& record = join.records[s];
            const SectionSides sides = BuildSectionSides(record, options.stakeAvoidDistance, carriedAzimuth);
            written = WriteSectionLayout(record, sides.first, sides.second, options.layout, results.output);
        }
        ++results.sections;
        if (written) {
            ++results.written;
            progress.Advance(kWriteSectionsStatus, s + 1, count);
        }
    }
    return results;
}

}  // namespace qorvel
