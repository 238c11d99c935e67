#include "assemble/point_projection.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/line_neighbours.h"
#include "geometry/line_point_loop.h"
#include "geometry/section_line.h"

namespace qorvel {

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

// Every matched section line is tested against every detail point, in file order (lines
// outside, points inside), and the members are written as such a loop writes them; the points
// near each line are found through a tree of boxes over the points instead of by testing them
// all. A failure is raised where the loop would meet it: a line's ends when the loop reaches that
// line, a point that cannot be read at the first line (which meets every point), a member
// without an elevation when it is written.
PointProjectionResult ProjectPointsOntoSectionLines(const DataFile& matchedLines, const DataFile& points,
                                                    double tolerance, double& carriedAzimuth, ProgressSink& progress) {
    PointProjectionResult result;
    const std::size_t lineCount = matchedLines.size();
    const std::size_t pointCount = points.size();
    if (pointCount == 0) {
        // No point to test: the lines are never read, only counted.
        for (std::size_t i = 0; i < lineCount; ++i) {
            ++result.lines;
            progress.Advance(kPointProjectionStatusPrefix, i + 1, lineCount);
        }
        return result;
    }
    if (lineCount == 0) return result;

    const PreRead<SurveyedPoint> detailPoints(points, readSurveyedPoint, ReadThreads::Two);
    const LinePointLoop loop(matchedLines, pointCount, [&](std::size_t j) { return detailPoints.At(j).position; });
    const std::span<const SectionLineEnds> ends = loop.ends();
    // A member is written with its elevation; one without fails the step right after its test.
    const auto elevationOf = [&](std::size_t line, std::size_t point) {
        const SurveyedPoint& member = detailPoints.At(point);
        if (!member.elevation) {
            loop.StopBefore(line, point + 1, carriedAzimuth);
            FieldReader(points, points[point]).Text(4);  // raises the report
        }
        return *member.elevation;
    };
    if (const auto unreadable = detailPoints.FirstUnreadable()) {
        // The first line meets the points in order up to the one it cannot read.
        for (std::size_t j = 0; j < *unreadable; ++j)
            if (DistanceToLine(detailPoints.At(j).position, ends[0].first, ends[0].second) < tolerance) elevationOf(0, j);
        loop.StopBefore(0, *unreadable, carriedAzimuth);
        detailPoints.At(*unreadable);  // raises that point's error
    }

    const LineNeighbours neighbours(
        pointCount, [&](std::size_t j) { return detailPoints.At(j).position; }, tolerance);
    const LineMembers members = FindLineMembers(neighbours, ends);
    result.output.Reserve(members.ids.size() * 48);
    std::string number;
    for (std::size_t i = 0; i < loop.reached(); ++i) {
        const std::string_view chainage = FieldReader(matchedLines, matchedLines[i]).Text(0);
        for (const PointIndex::Id j : members.Of(i)) {
            const SurveyedPoint& point = detailPoints.At(j);
            const std::string_view elevation = elevationOf(i, j);
            const PlanePoint foot = FootOfPerpendicular(point.position, ends[i].first, ends[i].second);
            number.clear();
            AppendFixed(number, foot.east, 3);
            number += ',';
            AppendFixed(number, foot.north, 3);
            result.output << point.name << ',' << chainage << ',' << number << ',' << elevation;
            result.output.EndLine();
            ++result.points;
        }
        ++result.lines;
        progress.Advance(kPointProjectionStatusPrefix, i + 1, lineCount);
    }
    loop.Finish(carriedAzimuth);
    return result;
}

}  // namespace qorvel
