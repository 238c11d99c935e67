#include "reference/all_pairs_steps.h"

#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"

namespace qorvel::reference {

SectionLineMatchResult MatchSectionLines(const DataFile& stakes, const DataFile& lines, double tolerance,
                                         double& carriedAzimuth) {
    SectionLineMatchResult result;
    const PreRead<SectionLineEnds> sectionLines(lines, ReadSectionLineEnds);
    for (std::size_t i = 0; i < stakes.size() && !lines.empty(); ++i) {
        const FieldReader stake(stakes, stakes[i]);
        const PlanePoint p{stake.Lenient(2), stake.Lenient(3)};
        for (std::size_t j = 0; j < lines.size(); ++j) {
            const SectionLineEnds& line = sectionLines.At(j);
            if (DistanceToLine(p, line.first, line.second, carriedAzimuth) < tolerance) {
                const FieldReader ends(lines, lines[j]);
                result.output << stake.Text(0);
                for (int field = 1; field <= 4; ++field) result.output << ',' << ends.Text(field);
                result.output.EndLine();
                ++result.pairs;
            }
        }
    }
    return result;
}

}  // namespace qorvel::reference
