#include "geometry/line_neighbours.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/two_halves.h"

namespace qorvel {

namespace {
constexpr double kUnitRoundoff = 0x1p-53;
constexpr double kEverywhere = std::numeric_limits<double>::infinity();
// Bounds of the error analysis below: within them no product or quotient of the computation
// overflows, and what underflows is far below the absolute allowance of 1e-150.
constexpr double kLargestCoordinate = 1e100;
constexpr double kShortestLine = 1e-140;
}  // namespace

PlanePoint FootLineDirection(PlanePoint a, PlanePoint b) {
    if (a.east != b.east && a.north != b.north) return {b.east - a.east, b.north - a.north};
    if (a.north != b.north) return {0, 1};
    return {1, 0};
}

double LineSearchHalfWidth(PlanePoint a, PlanePoint b, double tolerance, double magnitude) {
    if (!(tolerance > 0)) return 0;
    // A distance is compared with the tolerance after squaring and a square root: a relative
    // error of a few units roundoff, and distances under about 1e-154 square to (almost) zero.
    const double compared = tolerance * (1 + 1e-9) + 1e-150;
    if (!(a.east != b.east && a.north != b.north)) {
        // Along a grid axis the foot shares one coordinate with the point, and the distance is
        // the other coordinate's difference, rounded once.
        return compared;
    }
    const double dEast = b.east - a.east;
    const double dNorth = b.north - a.north;
    const double length = std::max(std::fabs(dEast), std::fabs(dNorth));
    const double reach = std::max({magnitude, std::fabs(a.east), std::fabs(a.north), std::fabs(b.east),
                                   std::fabs(b.north)});
    if (!(reach <= kLargestCoordinate) || !(length >= kShortestLine) || !(tolerance <= kLargestCoordinate))
        return kEverywhere;
    // FootOfPerpendicular projects AP onto the direction (dEast, dNorth), the strip's own: the
    // differences, the products and the quotient t are each off by a few units roundoff of
    // their size, and t times the direction brings every error back to the scale of the
    // coordinates, whatever the line's slope or length. A worst-case count of the operations
    // gives 34 units roundoff of the largest coordinate (the foot's and the point's sums
    // included); wide random trials stay under 5, nearly-axis lines among them. Allow 128.
    return compared + 128 * kUnitRoundoff * reach;
}

void LineNeighbours::Find(PlanePoint a, PlanePoint b, std::vector<PointIndex::Id>& ids) const {
    ids.clear();
    if (!(tolerance_ > 0) || index_.empty()) return;
    const auto decide = [&](PointIndex::Id id, PlanePoint p) {
        if (DistanceToLine(p, a, b) < tolerance_) ids.push_back(id);
    };
    const double halfWidth = LineSearchHalfWidth(a, b, tolerance_, index_.magnitude());
    if (std::isfinite(halfWidth)) index_.VisitStrip({a, FootLineDirection(a, b), halfWidth}, decide);
    else index_.VisitAll(decide);
    std::sort(ids.begin(), ids.end());
}

LineMembers FindLineMembers(const LineNeighbours& neighbours, std::span<const SectionLineEnds> lines) {
    LineMembers parts[2];
    constexpr std::size_t kWorthASecondThread = 1000;
    InTwoHalves(lines.size(), kWorthASecondThread, [&](std::size_t begin, std::size_t end, int part) {
        LineMembers& members = parts[part];
        members.starts.reserve(end - begin + 1);
        std::vector<PointIndex::Id> near;
        for (std::size_t i = begin; i < end; ++i) {
            neighbours.Find(lines[i].first, lines[i].second, near);
            members.ids.insert(members.ids.end(), near.begin(), near.end());
            members.starts.push_back(members.ids.size());
        }
    });
    LineMembers& all = parts[0];
    const std::size_t offset = all.ids.size();
    all.ids.insert(all.ids.end(), parts[1].ids.begin(), parts[1].ids.end());
    for (std::size_t k = 1; k < parts[1].starts.size(); ++k) all.starts.push_back(offset + parts[1].starts[k]);
    return std::move(all);
}

}  // namespace qorvel
