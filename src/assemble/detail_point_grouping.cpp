#include "assemble/detail_point_grouping.h"

#include <optional>
#include <string>
#include <vector>

#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/line_neighbours.h"
#include "geometry/line_point_loop.h"
#include "geometry/section_line.h"

namespace qorvel {

namespace {
struct NamedPoint {
    std::string_view name;
    PlanePoint position;
};

NamedPoint readNamedPoint(const FieldReader& fields) {
    return {fields.Text(0), {fields.Lenient(2), fields.Lenient(3)}};
}
}  // namespace

// Every matched section line is tested against every detail point, in file order (lines
// outside, points inside), and the result is written as such a loop writes it; the points near
// each line are found through a tree of boxes over the points instead of by testing them all.
// A failure is raised where the loop would meet it: a line's ends when the loop reaches that
// line, a point that cannot be read at the first line (which meets every point).
DetailPointGroupingResult GroupDetailPoints(const DataFile& matchedLines, const DataFile& points, double tolerance,
                                            double& carriedAzimuth, ProgressSink& progress) {
    DetailPointGroupingResult result;
    const std::size_t lineCount = matchedLines.size();
    const std::size_t pointCount = points.size();
    if (pointCount == 0) {
        // No point to test: the lines' ends are never read, every station is written empty.
        for (std::size_t i = 0; i < lineCount; ++i) {
            ++result.stations;
            progress.Advance(kGroupingStatusPrefix, i + 1, lineCount);
            result.output << FieldReader(matchedLines, matchedLines[i]).Text(0) << ',';
            result.output.EndLine();
        }
        return result;
    }
    if (lineCount == 0) return result;

    const PreRead<NamedPoint> detailPoints(points, readNamedPoint, ReadThreads::Two);
    const LinePointLoop loop(matchedLines, pointCount, [&](std::size_t j) { return detailPoints.At(j).position; });
    if (const auto unreadable = detailPoints.FirstUnreadable()) {
        loop.StopBefore(0, *unreadable, carriedAzimuth);
        detailPoints.At(*unreadable);  // raises that point's error
    }

    // The members of every line reached, found on two threads (each line on its own), then
    // written in file order.
    const LineNeighbours neighbours(
        pointCount, [&](std::size_t j) { return detailPoints.At(j).position; }, tolerance);
    const LineMembers members = FindLineMembers(neighbours, loop.ends());
    for (std::size_t i = 0; i < loop.reached(); ++i) {
        const std::span<const PointIndex::Id> ids = members.Of(i);
        result.memberships += ids.size();
        ++result.stations;
        progress.Advance(kGroupingStatusPrefix, i + 1, lineCount);

        result.output << FieldReader(matchedLines, matchedLines[i]).Text(0) << ',';
        // The list is joined as it always was: a first member without a name leaves it empty,
        // so the next member opens it without a comma.
        bool listEmpty = true;
        for (const PointIndex::Id id : ids) {
            const std::string_view name = detailPoints.At(id).name;
            if (!listEmpty) result.output << ',';
            result.output << name;
            listEmpty = listEmpty && name.empty();
        }
        result.output.EndLine();
    }
    loop.Finish(carriedAzimuth);
    return result;
}

}  // namespace qorvel
