#include "reference/all_pairs_steps.h"

#include <string>

#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"

namespace qorvel::reference {

namespace {
struct NamedPoint {
    std::string_view name;
    PlanePoint position;
};

NamedPoint readNamedPoint(const FieldReader& fields) {
    return {fields.Text(0), {fields.Lenient(2), fields.Lenient(3)}};
}
}  // namespace

DetailPointGroupingResult GroupDetailPoints(const DataFile& matchedLines, const DataFile& points, double tolerance,
                                            double& carriedAzimuth, ProgressSink& progress) {
    DetailPointGroupingResult result;
    const PreRead<NamedPoint> detailPoints(points, readNamedPoint);
    const std::size_t lineCount = matchedLines.size();
    std::string members;
    for (std::size_t i = 0; i < lineCount; ++i) {
        const FieldReader line(matchedLines, matchedLines[i]);
        members.clear();
        if (!points.empty()) {
            const SectionLineEnds ends = ReadSectionLineEnds(line);
            for (std::size_t j = 0; j < points.size(); ++j) {
                const NamedPoint& point = detailPoints.At(j);
                if (DistanceToLine(point.position, ends.first, ends.second, carriedAzimuth) < tolerance) {
                    ++result.memberships;
                    // The list is joined as it always was: a first member without a name leaves
                    // it empty, so the next member opens it without a comma.
                    if (members.empty()) {
                        members = point.name;
                    } else {
                        members += ',';
                        members += point.name;
                    }
                }
            }
        }
        ++result.stations;
        progress.Advance(kGroupingStatusPrefix, i + 1, lineCount);
        result.output << line.Text(0) << ',' << members;
        result.output.EndLine();
    }
    return result;
}

}  // namespace qorvel::reference
