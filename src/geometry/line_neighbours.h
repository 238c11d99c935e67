#pragma once
// The points near a section line: those whose perpendicular distance to the infinite line
// through its two ends, measured as DistanceToLine measures it, is strictly less
// than a tolerance. Points far out on the line's extension count as much as those between its
// ends.
//
// A tree of boxes over the points proposes those of a strip along the line, a little wider
// than the tolerance; each is then decided by the exact computation, so the boundary cases come
// out bit for bit as they do when every point is tested.

#include <cstddef>
#include <span>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/point_index.h"
#include "geometry/section_line.h"

namespace qorvel {

class LineNeighbours {
public:
    // Indexes `count` points; `position(id)` gives point `id`.
    template <class PositionOf>
    LineNeighbours(std::size_t count, PositionOf position, double tolerance)
        : index_(count, position), tolerance_(tolerance) {}

    // Replaces `ids` by the ids of the points within the tolerance of the line through `a` and
    // `b`, ascending. The carried azimuth is not touched.
    void Find(PlanePoint a, PlanePoint b, std::vector<PointIndex::Id>& ids) const;

private:
    PointIndex index_;
    double tolerance_;
};

// The points near each of a run of section lines: those of line k are
// ids[starts[k] .. starts[k + 1]), ascending.
struct LineMembers {
    std::vector<std::size_t> starts{0};
    std::vector<PointIndex::Id> ids;

    std::span<const PointIndex::Id> Of(std::size_t line) const {
        return std::span(ids).subspan(starts[line], starts[line + 1] - starts[line]);
    }
};

// The members of every line, found on two threads for a long run of lines (each line on its
// own, the first half on this thread).
LineMembers FindLineMembers(const LineNeighbours& neighbours, std::span<const SectionLineEnds> lines);

// The direction of the line FootOfPerpendicular drops its perpendicular onto: A to B, north
// when only the northings differ, east when the northings are equal (ends that coincide
// included).
PlanePoint FootLineDirection(PlanePoint a, PlanePoint b);

// The half-width of the strip around the line through A and B (in FootLineDirection) that
// holds every point P with DistanceToLine(P, A, B) < tolerance, for coordinates of P no larger
// than `magnitude`: the tolerance widened by what rounding can take off a distance. Infinite
// where no such bound holds (everything must be searched); not positive when nothing can match.
double LineSearchHalfWidth(PlanePoint a, PlanePoint b, double tolerance, double magnitude);

}  // namespace qorvel
