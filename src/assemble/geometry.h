#pragma once
// Plane geometry of the survey: easting is the drawing's x, northing its y; azimuths are
// degrees clockwise from grid north, 0 up to but excluding 360.

#include <array>
#include <cmath>
#include <cstddef>
#include <span>

namespace qorvel {

struct PlanePoint {
    double east = 0;
    double north = 0;
};

struct AzimuthDistanceResult {
    double azimuth = 0;
    double distance = 0;
};

// Azimuth and distance from `from` to `to`. The azimuth of two coincident points is
// undefined; they get the azimuth of the previous call, which `carriedAzimuth` holds from call
// to call (it lives in the Session) and which every other call updates.
AzimuthDistanceResult AzimuthDistance(PlanePoint from, PlanePoint to, double& carriedAzimuth);

// The distance AzimuthDistance gives from `from` to `to`, to the last bit, without the azimuth
// (and without touching the carried one).
inline double PlaneDistance(PlanePoint from, PlanePoint to) {
    const double dNorth = to.north - from.north;
    const double dEast = to.east - from.east;
    return std::sqrt(dNorth * dNorth + dEast * dEast);
}

// Foot of the perpendicular from P onto the infinite line through A and B. On a line along a
// grid axis the foot takes one coordinate from the line and the other from P, exactly; a line
// whose ends coincide counts as an east-west line through them. On any other line it is
// A + t (B - A) with t = (AP . AB) / (AB . AB), computed in that order (every step that
// measures a distance to a line gets the same bits).
PlanePoint FootOfPerpendicular(PlanePoint p, PlanePoint a, PlanePoint b);

// Distance from P to the infinite line through A and B, measured through the foot of the
// perpendicular and AzimuthDistance (which updates the carried azimuth).
double DistanceToLine(PlanePoint p, PlanePoint a, PlanePoint b, double& carriedAzimuth);
// The same distance, the carried azimuth left alone.
inline double DistanceToLine(PlanePoint p, PlanePoint a, PlanePoint b) {
    return PlaneDistance(p, FootOfPerpendicular(p, a, b));
}

// The (distance, elevation) rows of one side of a cross-section, single precision.
using SortRow = std::array<float, 2>;

// Sorts rows first..last of `table` ascending by column 0, carrying column 1 along, by the
// partition-exchange sort the section files have always been ordered with: pivot at the middle
// row (halves to the even row), scans that stop at keys equal to the pivot, exchange and move
// on. Rows with equal keys come out in the order these exchanges leave them, which the result
// files depend on. `table` must hold row 0 even when the stretch is empty (first 1, last 0).
void QuickSortPairs(std::span<SortRow> table, std::ptrdiff_t first, std::ptrdiff_t last);

}  // namespace qorvel
