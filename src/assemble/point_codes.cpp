#include "assemble/point_codes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/line_neighbours.h"
#include "geometry/point_index.h"
#include "geometry/section_line.h"

namespace qorvel {

namespace {
struct CodingLine {
    std::string_view chainage;
    SectionLineEnds ends;
};

CodingLine readCodingLine(const FieldReader& fields) { return {fields.Text(0), ReadSectionLineEnds(fields)}; }
PlanePoint readPosition(const FieldReader& fields) { return {fields.Lenient(2), fields.Lenient(3)}; }

double planeDistance(PlanePoint from, PlanePoint to) {
    const double dEast = to.east - from.east;
    const double dNorth = to.north - from.north;
    return std::sqrt(dEast * dEast + dNorth * dNorth);
}

bool between(double value, double end1, double end2) {
    return std::min(end1, end2) <= value && value <= std::max(end1, end2);
}

constexpr std::uint32_t kNoLine = UINT32_MAX;

// For every point, the line whose code it takes (kNoLine for none): of the lines it lies
// strictly closer than the tolerance to, the nearest, the first in file order among equally near
// ones. The lines are taken in file order and each keeps the points it is strictly nearer to
// than every line before; the points a line can be that near to are found through a tree of
// boxes over the points.
//
// A point closer than the tolerance to a segment is closer than it to the box of the segment's
// ends (the foot lies in that box, or the distance is to one of the ends) and, as the grouping
// by station finds, to the infinite line through the ends: only the points in both, a little
// widened for rounding, need the exact test.
std::vector<std::uint32_t> nearestLines(const PreRead<CodingLine>& lines, const PreRead<PlanePoint>& positions,
                                        double tolerance) {
    const std::size_t pointCount = positions.size();
    std::vector<std::uint32_t> nearest(pointCount, kNoLine);
    if (!(tolerance > 0)) return nearest;  // no distance is below it
    // The loop over the points stops at the first one it cannot read: those after it need no
    // line.
    const std::size_t reached = positions.FirstUnreadable().value_or(pointCount);
    const PointIndex index(reached, [&](std::size_t j) { return positions.At(j); });
    std::vector<double> nearestDistance(pointCount, tolerance);
    const double boxMargin = tolerance * (1 + 1e-9) + 1e-150;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SectionLineEnds& ends = lines.At(i).ends;
        const PlanePoint a = ends.first;
        const PlanePoint b = ends.second;
        // The box of the ends, widened by the tolerance and what rounding the edges can hide.
        const auto margin = [&](double edge) { return boxMargin + 1e-15 * std::fabs(edge); };
        const double minEast = std::min(a.east, b.east);
        const double minNorth = std::min(a.north, b.north);
        const double maxEast = std::max(a.east, b.east);
        const double maxNorth = std::max(a.north, b.north);
        const PlaneBox box{minEast - margin(minEast), minNorth - margin(minNorth), maxEast + margin(maxEast),
                           maxNorth + margin(maxNorth)};
        const double halfWidth = LineSearchHalfWidth(a, b, tolerance, index.magnitude());
        const auto decide = [&](PointIndex::Id j, PlanePoint p) {
            const double distance = DistanceToSegment(p, a, b);
            if (distance < nearestDistance[j]) {
                nearestDistance[j] = distance;
                nearest[j] = static_cast<std::uint32_t>(i);
            }
        };
        index.VisitStripInBox({a, FootLineDirection(a, b), halfWidth}, box, decide);
    }
    return nearest;
}
}  // namespace

double DistanceToSegment(PlanePoint p, PlanePoint a, PlanePoint b) {
    const PlanePoint foot = FootOfPerpendicular(p, a, b);
    if (between(foot.east, a.east, b.east) && between(foot.north, a.north, b.north)) return planeDistance(p, foot);
    return std::min(planeDistance(p, a), planeDistance(p, b));
}

// Every point is compared with every section line, in file order (points outside, lines
// inside), as it always was; the lines a point can take its code from are found beforehand,
// line by line, through a tree of boxes over the points. A failure is raised where that loop
// meets it: a point's position when the point is reached (only when there are lines), a line
// that cannot be read at the first point (which meets every line) once that point is read.
PointCodesResult AddPointCodes(const DataFile& matchedLines, const DataFile& points, double tolerance,
                               ProgressSink& progress) {
    PointCodesResult result;
    const std::size_t pointCount = points.size();
    const std::size_t lineCount = matchedLines.size();
    const bool compared = lineCount > 0 && pointCount > 0;
    if (lineCount > std::size_t{kNoLine}) throw std::length_error("too many section lines");

    PreRead<CodingLine> lines;
    PreRead<PlanePoint> positions;
    std::vector<std::uint32_t> nearest;
    if (compared) {
        lines = PreRead<CodingLine>(matchedLines, readCodingLine);
        positions = PreRead<PlanePoint>(points, readPosition, ReadThreads::Two);
        if (const auto unreadable = lines.FirstUnreadable()) {
            positions.At(0);          // the first point is read before it meets the lines
            lines.At(*unreadable);    // raises that line's error
        }
        nearest = nearestLines(lines, positions, tolerance);
    }

    std::size_t bytes = 0;
    for (const Record& record : points.records()) bytes += record.text.size() + 2;
    result.output.Reserve(bytes + bytes / 4);
    for (std::size_t j = 0; j < pointCount; ++j) {
        const std::string_view text = points[j].text;
        std::uint32_t line = kNoLine;
        if (compared) {
            positions.At(j);  // raises the point's error
            line = nearest[j];
        }
        if (line != kNoLine) {
            // Field 1 replaced, every other field as read: the point has fields 2 and 3, so its
            // text has a second comma.
            const std::size_t first = text.find(',');
            const std::size_t second = text.find(',', first + 1);
            result.output << text.substr(0, first + 1) << lines.At(line).chainage << text.substr(second);
            ++result.coded;
        } else {
            result.output << text;
        }
        result.output.EndLine();
        ++result.points;
        progress.Advance(kPointCodesStatusPrefix, j + 1, pointCount);
    }
    return result;
}

}  // namespace qorvel
