#include "reference/all_pairs_steps.h"

#include <optional>
#include <string_view>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"

namespace qorvel::reference {

namespace {
struct SurveyedPoint {
    std::string_view name;
    PlanePoint position;
    std::optional<std::string_view> elevation;  // asked for only when the point is written
};

SurveyedPoint readSurveyedPoint(const FieldReader& fields) {
    std::optional<std::string_view> elevation;
    if (fields.Has(4)) elevation = fields.Text(4);
    return {fields.Text(0), {fields.Lenient(2), fields.Lenient(3)}, elevation};
}
}  // namespace

PointProjectionResult ProjectPointsOntoSectionLines(const DataFile& matchedLines, const DataFile& points,
                                                    double tolerance, double& carriedAzimuth, ProgressSink& progress) {
    PointProjectionResult result;
    const PreRead<SurveyedPoint> detailPoints(points, readSurveyedPoint);
    const std::size_t lineCount = matchedLines.size();
    for (std::size_t i = 0; i < lineCount; ++i) {
        const FieldReader line(matchedLines, matchedLines[i]);
        if (!points.empty()) {
            const SectionLineEnds ends = ReadSectionLineEnds(line);
            const std::string_view chainage = line.Text(0);
            for (std::size_t j = 0; j < points.size(); ++j) {
                const SurveyedPoint& point = detailPoints.At(j);
                // The membership test of the grouping by station (DistanceToLine), with the foot
                // kept because it is what gets written.
                const PlanePoint foot = FootOfPerpendicular(point.position, ends.first, ends.second);
                if (AzimuthDistance(point.position, foot, carriedAzimuth).distance < tolerance) {
                    // A member without an elevation is reported by the field reader.
                    const std::string_view elevation =
                        point.elevation ? *point.elevation : FieldReader(points, points[j]).Text(4);
                    result.output << point.name << ',' << chainage << ',' << FormatFixed(foot.east, 3) << ','
                                  << FormatFixed(foot.north, 3) << ',' << elevation;
                    result.output.EndLine();
                    ++result.points;
                }
            }
        }
        ++result.lines;
        progress.Advance(kPointProjectionStatusPrefix, i + 1, lineCount);
    }
    return result;
}

}  // namespace qorvel::reference
