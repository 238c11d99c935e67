#include "reference/all_pairs_steps.h"

#include <optional>
#include <string_view>

#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/section_line.h"

namespace qorvel::reference {

namespace {
struct CodingLine {
    std::string_view chainage;
    SectionLineEnds ends;
};

CodingLine readCodingLine(const FieldReader& fields) { return {fields.Text(0), ReadSectionLineEnds(fields)}; }

}  // namespace

PointCodesResult AddPointCodes(const DataFile& matchedLines, const DataFile& points, double tolerance,
                               ProgressSink& progress) {
    PointCodesResult result;
    const PreRead<CodingLine> lines(matchedLines, readCodingLine);
    const std::size_t pointCount = points.size();
    for (std::size_t j = 0; j < pointCount; ++j) {
        const FieldReader point(points, points[j]);
        std::optional<std::size_t> nearest;
        if (!matchedLines.empty()) {
            const PlanePoint position{point.Lenient(2), point.Lenient(3)};
            // Starting from the tolerance, a line must be strictly nearer than it, and strictly
            // nearer than every earlier line, to be kept.
            double nearestDistance = tolerance;
            for (std::size_t i = 0; i < matchedLines.size(); ++i) {
                const SectionLineEnds& ends = lines.At(i).ends;
                const double distance = DistanceToSegment(position, ends.first, ends.second);
                if (distance < nearestDistance) {
                    nearest = i;
                    nearestDistance = distance;
                }
            }
        }
        if (nearest) {
            result.output << point.Text(0) << ',' << lines.At(*nearest).chainage;
            for (int field = 2; field < static_cast<int>(point.count()); ++field) result.output << ',' << point.Text(field);
            ++result.coded;
        } else {
            result.output << points[j].text;
        }
        result.output.EndLine();
        ++result.points;
        progress.Advance(kPointCodesStatusPrefix, j + 1, pointCount);
    }
    return result;
}

}  // namespace qorvel::reference
