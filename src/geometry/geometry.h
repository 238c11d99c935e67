#pragma once
// Plane geometry of the survey: easting is the drawing's x, northing its y; azimuths are
// degrees clockwise from grid north, 0 up to but excluding 360.

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <utility>

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

// Sorts rows first..last of `table` ascending by `key(row)`, carrying the rest of each row
// along, by the partition-exchange sort the result files are ordered with (kept to the byte,
// core/decimal_text.h): pivot
// at the middle row (halves to the even row), scans that stop at keys equal to the pivot,
// exchange and move on. Rows with equal keys come out in the order these exchanges leave them,
// which the result files depend on; what else a row carries never changes that order. `table`
// must hold row 0 even when the stretch is empty (first 1, last 0).
template <class Row, class Key>
void QuickSortRowsBy(std::span<Row> table, std::ptrdiff_t first, std::ptrdiff_t last, Key key) {
    const auto at = [&](std::ptrdiff_t row) -> Row& { return table[static_cast<std::size_t>(row)]; };
    const auto middleRow = [](std::ptrdiff_t low, std::ptrdiff_t high) {
        const std::ptrdiff_t sum = low + high;
        if (sum % 2 == 0) return sum / 2;
        // A half: to the even neighbour.
        const std::ptrdiff_t below = (sum - 1) / 2;
        return below % 2 == 0 ? below : below + 1;
    };
    // The two stretches left after a partition are disjoint, so sorting them in either order
    // gives the same table; the smaller one is sorted by recursion and the larger one by the
    // loop, which keeps the stack shallow on any input.
    for (;;) {
        std::ptrdiff_t i = first;
        std::ptrdiff_t j = last;
        const auto pivot = key(at(middleRow(first, last)));
        while (j >= i) {
            while (key(at(i)) < pivot && i < last) ++i;
            while (pivot < key(at(j)) && j > first) --j;
            if (j < i) break;
            std::swap(at(i), at(j));
            ++i;
            --j;
        }
        const bool sortLower = first < j;
        const bool sortUpper = i < last;
        if (sortLower && sortUpper) {
            if (j - first < last - i) {
                QuickSortRowsBy(table, first, j, key);
                first = i;
            } else {
                QuickSortRowsBy(table, i, last, key);
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

// The same on (distance, elevation) rows by column 0, carrying column 1 along.
inline void QuickSortPairs(std::span<SortRow> table, std::ptrdiff_t first, std::ptrdiff_t last) {
    QuickSortRowsBy(table, first, last, [](const SortRow& row) { return row[0]; });
}

}  // namespace qorvel
