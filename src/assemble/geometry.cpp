#include "assemble/geometry.h"

#include <cmath>
#include <utility>

namespace qorvel {

namespace {
// Radians per degree as the azimuths have always been computed: pi taken to 14 decimals.
constexpr double kRadiansPerDegree = 0.017453292519943278;
}  // namespace

AzimuthDistanceResult AzimuthDistance(PlanePoint from, PlanePoint to, double& carriedAzimuth) {
    const double dNorth = to.north - from.north;
    const double dEast = to.east - from.east;
    double azimuth = carriedAzimuth;
    if (dNorth != 0 && dEast != 0) {
        const double raw = std::atan(dEast / dNorth) / kRadiansPerDegree;
        if (dNorth > 0 && dEast > 0) azimuth = raw;
        else if (dNorth < 0 && dEast > 0) azimuth = 180 - std::fabs(raw);
        else if (dNorth < 0 && dEast < 0) azimuth = 180 + std::fabs(raw);
        else azimuth = 360 - std::fabs(raw);
    } else if (dEast == 0) {
        if (dNorth > 0) azimuth = 0;
        else if (dNorth < 0) azimuth = 180;
    } else {
        azimuth = dEast > 0 ? 90 : 270;
    }
    carriedAzimuth = azimuth;
    return {azimuth, PlaneDistance(from, to)};
}

PlanePoint FootOfPerpendicular(PlanePoint p, PlanePoint a, PlanePoint b) {
    if (a.east != b.east && a.north != b.north) {
        // The projection of AP onto AB: its rounding errors stay within a few units of the
        // coordinates whatever the line's direction. (Through the slope of the line, a line a
        // hair off an axis divided the errors by that slope and lost the foot by decimetres.)
        const double dEast = b.east - a.east;
        const double dNorth = b.north - a.north;
        const double t = ((p.east - a.east) * dEast + (p.north - a.north) * dNorth) / (dEast * dEast + dNorth * dNorth);
        return {a.east + t * dEast, a.north + t * dNorth};
    }
    if (a.north != b.north) return {a.east, p.north};  // north-south line
    return {p.east, a.north};                           // east-west line, or coincident ends
}

double DistanceToLine(PlanePoint p, PlanePoint a, PlanePoint b, double& carriedAzimuth) {
    return AzimuthDistance(p, FootOfPerpendicular(p, a, b), carriedAzimuth).distance;
}

namespace {
std::ptrdiff_t middleRow(std::ptrdiff_t first, std::ptrdiff_t last) {
    const std::ptrdiff_t sum = first + last;
    if (sum % 2 == 0) return sum / 2;
    // A half: to the even neighbour.
    const std::ptrdiff_t below = (sum - 1) / 2;
    return below % 2 == 0 ? below : below + 1;
}
}  // namespace

void QuickSortPairs(std::span<SortRow> table, std::ptrdiff_t first, std::ptrdiff_t last) {
    // The two stretches left after a partition are disjoint, so sorting them in either order
    // gives the same table; the smaller one is sorted by recursion and the larger one by the
    // loop, which keeps the stack shallow on any input.
    for (;;) {
        std::ptrdiff_t i = first;
        std::ptrdiff_t j = last;
        const float pivot = table[static_cast<std::size_t>(middleRow(first, last))][0];
        while (j >= i) {
            while (table[static_cast<std::size_t>(i)][0] < pivot && i < last) ++i;
            while (pivot < table[static_cast<std::size_t>(j)][0] && j > first) --j;
            if (j < i) break;
            std::swap(table[static_cast<std::size_t>(i)], table[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
        const bool sortLower = first < j;
        const bool sortUpper = i < last;
        if (sortLower && sortUpper) {
            if (j - first < last - i) {
                QuickSortPairs(table, first, j);
                first = i;
            } else {
                QuickSortPairs(table, i, last);
                last = j;
            }
        } else if (sortLower) {
            last = j;
        } else if (sortUpper) {
            first = i;
        } else {
            return;
        }
    }
}

}  // namespace qorvel
